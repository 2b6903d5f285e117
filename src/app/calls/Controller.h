#pragma once

#include "calls/CallHandler.h"
#include "calls/DebugTrace.h"
#include "calls/LineWatch.h"
#include "calls/QtCallClock.h"
#include "stores/Settings.h"
#include "support/CommandLine.h"
#include "support/InstanceLock.h"

#include <QObject>

#include <cstdint>
#include <memory>
#include <string>

struct AppContext;
class AddressBooks;
class CallOutputs;
class ControllerUi;
class Line;
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

    bool hasEnded() const { return m_ended; }
    int exitCode() const { return m_exitCode; }
    bool isDebug() const { return m_commandLine.debug; }
    const CommandLine& commandLine() const { return m_commandLine; }

    AppContext& context() { return *m_context; }
    /// The line; null before start-up created it.
    Line* line() { return m_line.get(); }
    const Line* line() const { return m_line.get(); }
    /// The sounds; null before start-up has loaded the settings.
    SoundPolicy* sound() { return m_sound.get(); }
    const LatestCall& latestCall() const;
    DebugTrace& trace() { return m_trace; }
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
    std::unique_ptr<Line> m_line;
    std::unique_ptr<LineWatch> m_lineWatch;
    std::unique_ptr<SoundPolicy> m_sound;
    std::unique_ptr<AddressBooks> m_addressBooks;
    std::unique_ptr<CallHandler> m_calls;
    std::unique_ptr<MissedCalls> m_missed;
    std::unique_ptr<WebExportControl> m_webExport;
    std::unique_ptr<CallOutputs> m_outputs;
    std::unique_ptr<MqttCallOutput> m_mqtt;
    // The settings the MQTT output runs with.
    SettingsRecord m_mqttSettings;
    bool m_missedSeenUnsaved = false; // missedseen holds a time config.dat does not have yet
    bool m_ended = false;
    int m_exitCode = 0;
};
