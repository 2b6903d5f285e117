#include "outputs/CallCommandRunner.h"

#include "calls/CallEvent.h"
#include "calls/CallEventTexts.h"
#include "stores/Settings.h"
#include "support/CommandSplit.h"
#include "support/Log.h"
#include "support/QtText.h"

#include <QProcess>
#include <QTimer>

namespace {

// What of a command's output the log takes per run.
constexpr qsizetype kMaxLoggedOutput = 2048;

} // namespace

CallCommandRunner::CallCommandRunner(const SettingsRecord& settings, const Log& log, Limits limits,
                                     QObject* parent)
    : QObject(parent), m_settings(settings), m_log(log), m_limits(limits) {}

CallCommandRunner::~CallCommandRunner() {
    // Commands still running are ended with the program.
    for (QProcess* process : findChildren<QProcess*>()) {
        process->disconnect(this);
        process->kill();
        process->waitForFinished(1000);
    }
}

void CallCommandRunner::publish(const CallEvent& event) {
    if (m_settings.onCallCommand.empty()) {
        return;
    }
    const auto words = splitCommandLine(m_settings.onCallCommand);
    if (!words || words->empty()) {
        fail("oncall: the command cannot be split into program and arguments: " +
             m_settings.onCallCommand);
        return;
    }
    Run run;
    run.program = qs(words->front());
    for (auto word = words->begin() + 1; word != words->end(); ++word) {
        run.arguments.append(qs(*word));
    }
    run.environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : commandEnvironment(event)) {
        run.environment.insert(qs(name), qs(value));
    }
    run.event = eventName(event.kind);
    if (m_running < m_limits.maxRunning) {
        start(run);
        return;
    }
    if (m_waiting.size() >= m_limits.maxWaiting) {
        if (!std::exchange(m_queueFull, true)) {
            m_log.write("oncall: " + std::to_string(m_limits.maxWaiting) +
                        " call steps wait already; further ones are left out");
        }
        return;
    }
    m_waiting.push_back(std::move(run));
}

void CallCommandRunner::start(const Run& run) {
    auto* process = new QProcess(this);
    auto* timer = new QTimer(process);
    ++m_running;
    m_runs.insert(process, RunState{run.event, {}, false});
    process->setProgram(run.program);
    process->setArguments(run.arguments);
    process->setProcessEnvironment(run.environment);
    process->setProcessChannelMode(QProcess::MergedChannels);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this, process]() {
        m_runs[process].timedOut = true;
        process->kill();
    });
    connect(process, &QProcess::readyReadStandardOutput, this, [this, process]() {
        QByteArray& output = m_runs[process].output;
        output += process->readAllStandardOutput().left(kMaxLoggedOutput - output.size());
    });
    connect(process, &QProcess::finished, this, [this, process]() {
        QString failure;
        if (m_runs.value(process).timedOut) {
            failure = "ended after " + QString::number(m_limits.timeoutMs / 1000.0) + " s";
        } else if (process->exitStatus() == QProcess::CrashExit) {
            failure = "crashed";
        } else if (process->exitCode() != 0) {
            failure = "exit status " + QString::number(process->exitCode());
        }
        onEnded(process, failure);
    });
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
        // Other errors are followed by finished.
        if (error == QProcess::FailedToStart) {
            onEnded(process, "cannot be started: " + process->errorString());
        }
    });
    process->start(QIODevice::ReadOnly);
    if (process->state() != QProcess::NotRunning) {
        timer->start(m_limits.timeoutMs);
    }
}

void CallCommandRunner::onEnded(QProcess* process, const QString& failure) {
    const auto found = m_runs.find(process);
    if (found == m_runs.end()) {
        return; // already ended
    }
    const RunState run = *found;
    m_runs.erase(found);
    const QByteArray output =
        run.output + process->readAllStandardOutput().left(kMaxLoggedOutput - run.output.size());
    const QString program = process->program();
    process->disconnect(this);
    process->deleteLater();
    --m_running;
    if (!failure.isEmpty()) {
        fail("oncall (" + ss(run.event) + "): " + ss(program) + " " + ss(failure) +
             (output.isEmpty() ? "" : ": " + ss(QString::fromUtf8(output).simplified())));
    } else {
        if (std::exchange(m_failing, false)) {
            m_log.write("oncall: " + ss(program) + " runs again");
        }
        logOutput(run.event, output);
    }
    startWaiting();
    emit runEnded();
}

void CallCommandRunner::startWaiting() {
    while (m_running < m_limits.maxRunning && !m_waiting.empty()) {
        const Run run = std::move(m_waiting.front());
        m_waiting.pop_front();
        m_queueFull = false;
        start(run);
    }
}

void CallCommandRunner::fail(const std::string& text) {
    if (!std::exchange(m_failing, true)) {
        m_log.write(text);
    }
}

void CallCommandRunner::logOutput(const QString& event, const QByteArray& output) {
    if (!output.isEmpty()) {
        m_log.write("oncall (" + ss(event) +
                    "): exit status 0: " + ss(QString::fromUtf8(output).simplified()));
    }
}
