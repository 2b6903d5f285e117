#pragma once

#include "calls/CallHandler.h"
#include "calls/DebugTrace.h"
#include "calls/LineSession.h"
#include "calls/QtCallClock.h"
#include "support/CommandLine.h"
#include "support/InstanceLock.h"

#include <QObject>

#include <cstdint>
#include <memory>
#include <string>

struct AppContext;
class CapiApplication;
class CapiCallLine;
class ControllerUi;
class SoundPolicy;
class UserPrompt;
class WebExportControl;

/// The telephony controller: owns the application context and the CAPI application, runs the
/// start-up, receives the line's events and ends the program through appExit. It has no
/// window of its own; in debug mode a debug window shows its trace and latest call.
class Controller : public QObject {
    Q_OBJECT
public:
    Controller(const CommandLine& commandLine, const std::string& executableDir, UserPrompt& prompt,
               ControllerUi& ui, QObject* parent = nullptr);
    ~Controller() override;

    /// Runs the start-up steps. False when start-up has ended the program; exitCode() tells
    /// with what status.
    bool start();

    /// Ends the program, after asking unless force or the setting quietExit. Returns false
    /// when the user declined and nothing changed.
    bool appExit(bool force);

    /// Turns away the call that rang last.
    void rejectCall();
    /// Looks the number of a display text up in the web directory, in the browser.
    void lookUpNumber(const std::string& displayText);

    // The debug window's test buttons: on the simulated line the calls travel the line.
    void placeTestCall();
    void endTestCall();

    bool hasEnded() const { return m_ended; }
    int exitCode() const { return m_exitCode; }
    bool isDebug() const { return m_commandLine.debug; }

    AppContext& context() { return *m_context; }
    /// The CAPI application; null before start-up created it.
    CapiApplication* capi() { return m_capi.get(); }
    /// The sounds; null before start-up has loaded the settings.
    SoundPolicy* sound() { return m_sound.get(); }
    const LatestCall& latestCall() const;
    DebugTrace& trace() { return m_trace; }
    /// The line's registration and polling; null before start-up created the line.
    const LineSession* lineSession() const { return m_session.get(); }
    /// The journal web page.
    WebExportControl& webExport() { return *m_webExport; }

signals:
    /// The latest call's fields have changed.
    void latestCallChanged();
    /// The program has ended with this status.
    void ended(int exitCode);

private:
    bool createLine();
    void createCallHandler();
    void startWebExport();
    bool checkPrevInstance();
    void reportFileProblems();
    void tellFileProblem(const std::string& title, const std::string& text);
    void onRegistrationFailed();
    void endStartup(int exitCode);
    std::string text(int number) const;

    CommandLine m_commandLine;
    UserPrompt& m_prompt;
    ControllerUi& m_ui;
    std::unique_ptr<AppContext> m_context;
    DebugTrace m_trace;
    InstanceLock m_instanceLock;
    QtCallClock m_clock;
    std::unique_ptr<CapiApplication> m_capi;
    std::unique_ptr<CapiCallLine> m_callLine;
    std::unique_ptr<LineSession> m_session;
    std::unique_ptr<SoundPolicy> m_sound;
    std::unique_ptr<CallHandler> m_calls;
    std::unique_ptr<WebExportControl> m_webExport;
    std::uint32_t m_nextTestPlci = 0x0F01; // PLCIs of the debug window's test calls
    bool m_ended = false;
    int m_exitCode = 0;
};
