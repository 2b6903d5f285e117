#pragma once

#include "calls/CallHandler.h"
#include "calls/ControllerUi.h"
#include "calls/QtCallClock.h"
#include "support/CommandLine.h"
#include "support/InstanceLock.h"
#include "support/UserPrompt.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <array>
#include <memory>
#include <string>

class cCAPI;
class CapiCallLine;
class modSound;
class QSocketNotifier;

/// The telephony controller: runs the start-up, owns the CAPI application and its polling,
/// receives the line's events and ends the program through appExit. It has no window of its
/// own; in debug mode a debug window shows its trace and latest call.
class frmMain : public QObject {
    Q_OBJECT
public:
    /// The resource files that start-up requires below AppPath + "res/", in the order checked.
    static constexpr std::array<const char*, 8> kResourceFiles = {
        "bg.jpg",   "call.wav",       "eye.ico",        "info.wav",
        "load.wav", "phoneblack.ico", "phonegreen.ico", "phonered.ico"};

    /// Largest number of messages fetched in one go before the event loop gets its turn.
    static constexpr int kMaxMessagesPerWakeUp = 64;

    frmMain(const CommandLine& commandLine, UserPrompt& prompt, ControllerUi& ui,
            QObject* parent = nullptr);
    ~frmMain() override;

    /// Runs the start-up steps. False when start-up has ended the program; exitCode() tells
    /// with what status.
    bool start(const std::string& executableDir);

    /// Ends the program, after asking unless force or the setting quietexit. Returns false
    /// when the user declined and nothing changed.
    bool appExit(bool force);

    /// Registers with CAPI, listens and starts polling; on failure tells the user and ends.
    bool CAPIRegisterAndListen();

    /// Looks the number of a display text up in the web directory, in the browser.
    void Identify(const std::string& displayText);

    bool hasEnded() const { return m_ended; }
    int exitCode() const { return m_exitCode; }
    bool isDebug() const { return m_commandLine.debug; }

    /// The CAPI application; null before start-up created it and after the end.
    cCAPI* CAPI() { return m_capi.get(); }
    const LatestCall& latestCall() const;
    modSound& sound() { return *m_sound; }

    /// The debug trace: "---DEBUG---" and CR LF, then every status and error.
    const QString& debugText() const { return m_debugText; }
    void appendDebug(const QString& text);

    // The debug window's test and diagnostic buttons.
    void testIncomingCall();
    void testDisconnect();
    void appendManufacturer();
    void appendVersion();
    void appendProfile();
    void appendSerialNumber();
    void appendInstalled();

    /// Seconds left of the delayed registration (30 per step of capidelaytime).
    int capiDelayCountdown() const { return m_capiDelayCountdown; }
    bool isPolling() const { return m_tmrGetCAPIMsg.isActive(); }

signals:
    /// Text was added to the debug trace.
    void debugAppended(const QString& text);
    /// The latest call's fields have changed.
    void latestCallChanged();
    /// The program has ended with this status.
    void ended(int exitCode);

private:
    bool preparePaths(const std::string& executableDir);
    bool createLine();
    void loadLanguage();
    bool loadOriginTables();
    bool checkResourceFiles();
    bool checkPrevInstance();
    void startRegistration();
    void endStartup(int exitCode);
    std::string text(int number) const;

    void CAPI_Status();
    void CAPI_Error();
    void fetchMessages();
    void onCapiDelayTick();
    void watchReadiness();

    CommandLine m_commandLine;
    UserPrompt& m_prompt;
    ControllerUi& m_ui;
    InstanceLock m_instanceLock;
    QtCallClock m_clock;
    std::unique_ptr<cCAPI> m_capi;
    std::unique_ptr<CapiCallLine> m_callLine;
    std::unique_ptr<modSound> m_sound;
    std::unique_ptr<CallHandler> m_calls;
    QTimer m_tmrGetCAPIMsg;
    QTimer m_tmrCAPIDelay;
    QPointer<QSocketNotifier> m_readiness;
    int m_capiDelayCountdown = 0;
    std::uint32_t m_nextTestPlci = 0x0F01; // PLCIs of the debug window's test calls
    QString m_debugText;
    bool m_ended = false;
    int m_exitCode = 0;
};
