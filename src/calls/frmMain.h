#pragma once

#include "calls/ControllerUi.h"
#include "support/CommandLine.h"
#include "support/InstanceLock.h"
#include "support/UserPrompt.h"

#include <QObject>
#include <QString>

#include <array>
#include <string>

/// The telephony controller: runs the start-up, lives until the end of the program and ends
/// it through appExit. It has no window of its own; in debug mode a debug window shows its
/// trace.
class frmMain : public QObject {
    Q_OBJECT
public:
    /// The resource files that start-up requires below AppPath + "res/", in the order checked.
    static constexpr std::array<const char*, 8> kResourceFiles = {
        "bg.jpg",   "call.wav",       "eye.ico",        "info.wav",
        "load.wav", "phoneblack.ico", "phonegreen.ico", "phonered.ico"};

    frmMain(const CommandLine& commandLine, UserPrompt& prompt, ControllerUi& ui,
            QObject* parent = nullptr);
    ~frmMain() override;

    /// Runs the start-up steps. False when start-up has ended the program; exitCode() tells
    /// with what status.
    bool start(const std::string& executableDir);

    /// Ends the program, after asking unless force or the setting quietexit. Returns false
    /// when the user declined and nothing changed.
    bool appExit(bool force);

    bool hasEnded() const { return m_ended; }
    int exitCode() const { return m_exitCode; }
    bool isDebug() const { return m_commandLine.debug; }

    /// The debug trace: "---DEBUG---" and CR LF, then every line appended.
    const QString& debugText() const { return m_debugText; }
    void appendDebug(const QString& line);

signals:
    /// One line was added to the debug trace.
    void debugAppended(const QString& line);
    /// The program has ended with this status; the event loop should stop.
    void ended(int exitCode);

private:
    bool preparePaths(const std::string& executableDir);
    void loadLanguage();
    bool checkResourceFiles();
    bool checkPrevInstance();
    void endStartup(int exitCode);
    std::string text(int number) const;

    CommandLine m_commandLine;
    UserPrompt& m_prompt;
    ControllerUi& m_ui;
    InstanceLock m_instanceLock;
    QString m_debugText;
    bool m_ended = false;
    int m_exitCode = 0;
};
