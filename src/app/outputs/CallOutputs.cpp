#include "outputs/CallOutputs.h"

#include "calls/CallEvent.h"
#include "stores/Settings.h"

CallOutputs::CallOutputs(const SettingsRecord& settings, Log& log, const LanguageTable& language,
                         bool printCalls, QObject* parent)
    : QObject(parent), m_settings(settings), m_monitorServer(log),
      m_commands(settings, log, CallCommandRunner::Limits{}) {
    if (printCalls) {
        m_printer.emplace(language);
    }
    connect(&m_monitorServer, &CallMonitorServer::notice, this, &CallOutputs::notice);
}

CallOutputs::~CallOutputs() = default;

void CallOutputs::start(CallEventStream& events) {
    const SettingsRecord& settings = m_settings;
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
