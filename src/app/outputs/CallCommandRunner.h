#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QProcessEnvironment>
#include <QStringList>

#include <deque>
#include <string>

class Log;
class QProcess;
struct CallEvent;
struct SettingsRecord;

/// Runs the command of the setting oncall for every call step, never through a shell and never
/// waiting for it: the call is handed over in RUFWACHT_* environment variables. At most a few
/// run at once, further steps wait in a bounded queue; a command that runs too long is ended.
/// Output and exit status go to the log; a command that is missing or fails is logged once until
/// it works again, never shown to the user.
class CallCommandRunner : public QObject {
    Q_OBJECT
public:
    struct Limits {
        int timeoutMs = 30'000;
        int maxRunning = 4;
        std::size_t maxWaiting = 32;
    };

    CallCommandRunner(const SettingsRecord& settings, const Log& log, Limits limits,
                      QObject* parent = nullptr);
    ~CallCommandRunner() override;

    /// Runs the command for the event, or queues it while enough run.
    void publish(const CallEvent& event);

    int runningCount() const { return m_running; }

signals:
    /// A run has ended (or could not start).
    void runEnded();

private:
    struct Run {
        QString program;
        QStringList arguments;
        QProcessEnvironment environment;
        QString event;
    };

    // What is known of a running command.
    struct RunState {
        QString event;
        QByteArray output; // the first kMaxLoggedOutput bytes
        bool timedOut = false;
    };

    void start(const Run& run);
    void onEnded(QProcess* process, const QString& failure);
    void startWaiting();
    void fail(const std::string& text);
    void logOutput(const QString& event, const QByteArray& output);

    const SettingsRecord& m_settings;
    const Log& m_log;
    Limits m_limits;
    std::deque<Run> m_waiting;
    QHash<QProcess*, RunState> m_runs;
    int m_running = 0;
    bool m_failing = false;   // logged once until a run succeeds again
    bool m_queueFull = false; // logged once until the queue has room again
};
