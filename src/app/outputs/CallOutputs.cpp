#include "outputs/CallOutputs.h"

#include "calls/AppContext.h"
#include "calls/CallEvent.h"

CallOutputs::CallOutputs(AppContext& context, bool printCalls, QObject* parent)
    : QObject(parent), m_context(context), m_monitorServer(context.log),
      m_commands(context.settings, context.log, CallCommandRunner::Limits{}) {
    if (printCalls) {
        m_printer.emplace(context.language);
    }
    connect(&m_monitorServer, &CallMonitorServer::notice, this, &CallOutputs::notice);
}

CallOutputs::~CallOutputs() = default;

void CallOutputs::start(CallEventStream& events) {
    const SettingsRecord& settings = m_context.settings;
    if (settings.monitorServerOn && settings.monitorPort > 0) {
        m_monitorServer.start(static_cast<std::uint16_t>(settings.monitorPort),
                              AddressAllowList(QString::fromStdString(settings.monitorAllow)));
    }
    events.subscribe([this](const CallEvent& event) { m_monitorServer.publish(event); });
    events.subscribe([this](const CallEvent& event) { m_commands.publish(event); });
    if (m_printer) {
        events.subscribe([this](const CallEvent& event) { m_printer->publish(event); });
    }
}
