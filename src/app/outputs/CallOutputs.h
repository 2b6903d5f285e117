#pragma once

#include "outputs/CallCommandRunner.h"
#include "outputs/CallMonitorServer.h"
#include "outputs/HeadlessPrinter.h"

#include <QObject>

#include <optional>

struct AppContext;
class CallEventStream;

/// The outputs of call events beside the windows: the call-monitor server, the command run on
/// every call and, headless, the print-out. Each gets every event of the stream.
class CallOutputs : public QObject {
    Q_OBJECT
public:
    /// printCalls: print every call step on standard output.
    CallOutputs(AppContext& context, bool printCalls, QObject* parent = nullptr);
    ~CallOutputs() override;

    /// Starts the server when the settings ask for it and subscribes every output.
    void start(CallEventStream& events);

signals:
    /// A line for the debug trace.
    void notice(const QString& text);

private:
    AppContext& m_context;
    CallMonitorServer m_monitorServer;
    CallCommandRunner m_commands;
    std::optional<HeadlessPrinter> m_printer;
};
