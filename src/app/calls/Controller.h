#pragma once

#include "calls/CallHandler.h"
#include "calls/CallMonitorSession.h"
#include "calls/DebugTrace.h"
#include "calls/LineSession.h"
#include "calls/LineWatch.h"
#include "calls/QtCallClock.h"
#include "stores/Settings.h"
#include "support/CommandLine.h"
#include "support/InstanceLock.h"

#include <QObject>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <string>

struct AppContext;
class AddressBooks;
class CallMonitorCalls;
class CapiApplication;
class CallOutputs;
class ControllerUi;
class MqttCallOutput;
class MissedCalls;
struct JournalRecord;
class SoundPolicy;
class UserPrompt;
class WebExportControl;

/// The telephony controller: owns the application context and the line (the CAPI application,
/// or a router's call monitor), runs the start-up, receives the line's events and ends the
/// program through appExit. It has no window of its own; in debug mode a debug window shows its
/// trace and latest call.
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
    /// Turns away the call with the line's id, when it still rings.
    void rejectCall(std::uint32_t callId);
    /// False on a line that can only watch calls (the call monitor).
    bool canRejectCalls() const;
    /// Looks the number of a display text up in the web directory, in the browser.
    void lookUpNumber(const std::string& displayText);

    // The debug window's test buttons: on the simulated line the calls travel the line.
    void placeTestCall();
    void endTestCall();

    bool hasEnded() const { return m_ended; }
    int exitCode() const { return m_exitCode; }
    bool isDebug() const { return m_commandLine.debug; }
    const CommandLine& commandLine() const { return m_commandLine; }

    AppContext& context() { return *m_context; }
    /// The CAPI application; null before start-up created it.
    CapiApplication* capi() { return m_capi.get(); }
    /// The sounds; null before start-up has loaded the settings.
    SoundPolicy* sound() { return m_sound.get(); }
    const LatestCall& latestCall() const;
    DebugTrace& trace() { return m_trace; }
    /// The line's registration and polling; null before start-up created a CAPI line.
    const LineSession* lineSession() const { return m_session.get(); }
    /// The connection to the call monitor; null unless that is the line.
    const CallMonitorSession* callMonitorSession() const { return m_monitor.get(); }
    /// True while the line is lost and being reconnected.
    bool isLineDown() const { return m_lineWatch && m_lineWatch->isDown(); }
    /// The address books; null before start-up has loaded the settings.
    AddressBooks* addressBooks() { return m_addressBooks.get(); }
    /// The journal web page.
    WebExportControl& webExport() { return *m_webExport; }
    /// Starts, stops or restarts the MQTT output as the settings now say.
    void applyMqttSettings();
    /// Every step of every journaled call; null before start-up created the call handling.
    CallEventStream* callEvents() { return m_calls ? &m_calls->events : nullptr; }

    /// The missed calls the user has not looked at yet.
    int missedCallCount() const;
    bool isMissedCall(const JournalRecord& record) const;
    /// The user has looked at the journal: the missed calls are seen, also after a restart.
    void acknowledgeMissedCalls();

signals:
    /// The latest call's fields have changed.
    void latestCallChanged();
    /// The program has ended with this status.
    void ended(int exitCode);
    /// The number of missed calls not yet seen may have changed.
    void missedCallsChanged();

private:
    bool createLine();
    bool createCapiLine(const std::string& choice);
    bool createCallMonitorLine(const std::string& address);
    void createCallHandler();
    void takeCall();
    void startWebExport();
    void startCallOutputs();
    void subscribeOutputs();
    void restoreMissedCalls();
    void onCallEvent(const CallEvent& event);
    /// "Missed calls: 3", for the log and the web page.
    std::string missedCallsLine() const;
    void watchLine();
    void startLine();
    /// A line of the line's own trace; held back while an attempt to reconnect may still fail.
    void appendLineTrace(const QString& text);
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
    std::unique_ptr<LineSession> m_session;
    std::unique_ptr<CallMonitorCalls> m_monitorCalls;
    std::unique_ptr<CallMonitorSession> m_monitor;
    std::unique_ptr<CallLine> m_callLine;
    std::unique_ptr<LineWatch> m_lineWatch;
    QStringList m_heldTrace;
    std::unique_ptr<SoundPolicy> m_sound;
    std::unique_ptr<AddressBooks> m_addressBooks;
    std::unique_ptr<CallHandler> m_calls;
    std::unique_ptr<MissedCalls> m_missed;
    std::unique_ptr<WebExportControl> m_webExport;
    std::unique_ptr<CallOutputs> m_outputs;
    std::unique_ptr<MqttCallOutput> m_mqtt;
    // The settings the MQTT output runs with.
    SettingsRecord m_mqttSettings;
    std::uint32_t m_nextTestPlci = 0x0F01; // PLCIs of the debug window's test calls
    bool m_missedSeenUnsaved = false;      // missedseen holds a time config.dat does not have yet
    bool m_ended = false;
    int m_exitCode = 0;
};
