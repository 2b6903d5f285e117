#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include "stores/CallJournal.h"

#include <memory>
#include <string>

/// The real program, copied with its data tree into a temporary folder, started with its own
/// runtime folder so that tests never meet each other's instance lock.
class ProgramRunner {
public:
    ProgramRunner();

    /// The folder holding the program and its data tree, with a trailing "/".
    QString appDir() const { return m_dir.path() + "/app/"; }
    QString configDir() const { return appDir() + "config/"; }
    /// The instances' XDG_RUNTIME_DIR.
    QString runtimeDir() const { return m_dir.path() + "/run"; }

    /// The instances started from now on run under this command (e.g. strace and its
    /// options), which is handed the program and its arguments.
    void runUnder(const QStringList& wrapper) { m_wrapper = wrapper; }

    /// Starts one instance; more can run at once. With a reader, its stdout goes to that
    /// process, which is started after it.
    QProcess* start(const QStringList& arguments, QProcess* stdoutReader = nullptr);
    /// Starts one instance and waits up to 10 s for its end.
    QProcess* run(const QStringList& arguments);
    /// Ends the instance with SIGTERM and gives its exit code (-1: not ended in 10 s, or
    /// crashed).
    static int stop(QProcess* program);

    /// Writes a scenario for the simulated line (a transcript line is put in front; "; "
    /// separates commands like a line end) and gives the --line argument that plays it.
    QString scenario(const QString& commands);
    /// Starts a headless instance on that scenario, with more arguments before it.
    QProcess* startHeadless(const QString& commands, const QStringList& arguments = {});
    QString transcriptPath() const { return m_dir.path() + "/transcript.txt"; }
    QStringList transcript() const;
    /// Waits until the transcript holds count lines containing the text.
    bool waitForTranscript(const QString& text, int count = 1, int timeoutMs = 15000) const;

    /// Changes the environment of the instances started from now on; an empty value removes
    /// the variable.
    void setEnvironment(const QString& name, const QString& value);

    /// The instances started from now on show their windows on that X display.
    void showOn(const QString& display);

    /// Writes config.dat (Windows-1252; creates the settings folder) before the program starts.
    void writeConfig(const QStringList& keyValues);
    /// Writes a file of the settings folder as it is on disk (Windows-1252, CR LF).
    void writeFile(const QString& name, const QByteArray& bytes);
    /// A file of the settings folder as it is on disk; empty when it cannot be read.
    QByteArray readFile(const QString& name) const;
    /// A value of config.dat as the program left it; empty when the key is missing.
    QString configValue(const QString& key) const;

    /// The journal as the program left it on disk, and its log.
    CallJournal journal() const;
    QString log() const;
    /// Adds entries to the phonebook and the MSN list before the program starts.
    void addPhonebookEntry(const std::string& number, const std::string& name, bool reject = false,
                           const std::string& picture = {});
    void addMsn(const std::string& msn, const std::string& name, bool reject, bool rejectWithheld);

    /// A TCP port that was free a moment ago, below 32768 (the settings hold 16-bit numbers).
    static quint16 freePort();

private:
    QTemporaryDir m_dir;
    QProcessEnvironment m_environment;
    QStringList m_wrapper;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

/// The English text of a language string, as the program shows it.
std::string englishText(int number);
inline QString english(int number) {
    return QString::fromStdString(englishText(number));
}

/// Lines of the simulated line's transcript.
inline constexpr const char* kAlertReq = "-> CAPI_ALERT - CAPI_REQ";
inline constexpr const char* kConnectResp = "-> CAPI_CONNECT - CAPI_RESP";
inline constexpr const char* kDisconnectReq = "-> CAPI_DISCONNECT - CAPI_REQ";
inline constexpr const char* kDisconnectResp = "-> CAPI_DISCONNECT - CAPI_RESP";

/// What an instance wrote to stderr so far, collected as it comes.
class ProgramErrors {
public:
    explicit ProgramErrors(QProcess* program) : m_program(program) {}
    const QString& text();
    bool contains(const QString& part) { return text().contains(part); }
    bool waitFor(const QString& part, int timeoutMs = 15000);

private:
    QProcess* m_program;
    QString m_text;
};
