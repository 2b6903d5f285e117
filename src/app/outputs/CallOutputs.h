#pragma once

#include "outputs/CallCommandRunner.h"
#include "outputs/CallMonitorServer.h"
#include "outputs/HeadlessPrinter.h"

#include <QObject>

#include <optional>

class CallEventStream;
class LanguageTable;
class Log;
struct SettingsRecord;

/// The outputs of call events beside the windows: the call-monitor server, the command run on
/// every call and, headless, the print-out. Each gets every event of the stream.
class CallOutputs : public QObject {
    Q_OBJECT
public:
    /// The settings say which outputs run; errors go to the log; printCalls: print every call
    /// step on standard output, in the language's texts.
    CallOutputs(const SettingsRecord& settings, Log& log, const LanguageTable& language,
                bool printCalls, QObject* parent = nullptr);
    ~CallOutputs() override;

    /// Starts the server when the settings ask for it and subscribes every output.
    void start(CallEventStream& events);

signals:
    /// A line for the debug trace.
    void notice(const QString& text);

private:
    const SettingsRecord& m_settings;
    CallMonitorServer m_monitorServer;
    CallCommandRunner m_commands;
    std::optional<HeadlessPrinter> m_printer;
};
