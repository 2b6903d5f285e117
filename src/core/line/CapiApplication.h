#pragma once

#include "line/CapiDriver.h"
#include "line/CapiMessages.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

/// The program's one CAPI 2.0 application: registers with the driver, listens for incoming
/// voice calls, fetches and answers messages and describes the current call through its
/// properties. Every driver result is turned into text (statusText, errorText) and an event.
class CapiApplication {
public:
    /// Callbacks the owner sets; none takes arguments, the receiver reads the properties.
    struct Events {
        std::function<void()> incomingCall;     // a CONNECT_IND has been decoded
        std::function<void()> callDisconnected; // a DISCONNECT_IND has been decoded
        std::function<void()> statusChanged;    // lastCommand has just been set
        std::function<void()> errorReported;    // lastError has just been set to an error
    };

    explicit CapiApplication(std::unique_ptr<CapiDriver> driver);
    CapiApplication(const CapiApplication&) = delete;
    CapiApplication& operator=(const CapiApplication&) = delete;

    Events events;

    /// The texts that stand in for a caller without a usable number.
    void setCallerTexts(capi::CallerTexts texts) { m_callerTexts = std::move(texts); }

    bool registerApplication();
    bool release();
    /// Puts LISTEN_REQ for voice calls on the first controller; true when the put succeeded.
    bool listen();
    /// Fetches at most one message and handles it.
    void fetchMessage();
    /// Fetches and handles messages until the queue is empty, a fetch fails or maxMessages have
    /// been fetched; returns how many were fetched. Called on each tick and readiness wake-up.
    int drainMessages(int maxMessages = 64);
    /// Turns away a call: accepts it and clears it at once. A call not offered, already turned
    /// away or already cleared is left alone, so the line sees one answer per call.
    void rejectCall(std::uint32_t plci);
    /// The PLCI of the last CONNECT_IND.
    std::uint32_t lastOfferedPlci() const { return m_callPlci; }

    std::string manufacturer();
    std::string version();
    std::string profile();
    std::string serialNumber();
    bool isInstalled();

    // The current call.
    const std::string& calledMsn() const { return m_calledMSN; }
    const std::string& callerId() const { return m_callerID; }
    std::int16_t disconnectReason() const { return m_disconnectReason; }
    std::int16_t cip() const { return m_callerCIP; }
    std::string cipName() const;
    /// The PLCI of the call the last IncomingCall or CallDisconnect was about.
    std::uint32_t eventPlci() const { return m_eventPlci; }

    /// "--> " and the last operation done with the driver.
    std::string statusText() const { return "--> " + m_lastCommand; }
    /// "--> ERR: " and the last error.
    std::string errorText() const { return "--> ERR: " + m_lastError; }
    const std::string& lastCommand() const { return m_lastCommand; }
    const std::string& lastError() const { return m_lastError; }
    bool isRegistered() const { return m_isRegistered; }
    /// A fetch has found the line gone (connection to the CAPI lost, registration unknown to
    /// the driver, lost messages); errorText() said why. Nothing is fetched until the owner has
    /// called releaseLostLine() and registered again.
    bool isLineLost() const { return m_lineLost; }
    /// Releases what a lost line still holds, whatever the driver answers, and forgets its
    /// calls, so that registerApplication() can start afresh.
    void releaseLostLine();

    /// Fakes a call ("08154711" calling "12345", CIP 2) without touching the driver.
    void simulateIncomingCall();
    /// Fakes the end of a call with reason 0x3490 without touching the driver.
    void simulateDisconnect();

    /// The driver's readiness handle (-1 when it has none); ask again after each drain, a
    /// driver may give it up when its connection is gone.
    int readinessHandle() const { return m_driver->readinessHandle(); }
    CapiDriver& driver() { return *m_driver; }

private:
    bool fetchAndHandle();
    bool putMessage(const std::vector<std::uint8_t>& message);
    void handleConnect(std::uint8_t subcommand, const std::uint8_t* message, std::size_t size);
    void handleDisconnect(std::uint8_t subcommand, const std::uint8_t* message, std::size_t size);
    void handleInfo(std::uint8_t subcommand, const std::uint8_t* message, std::size_t size);
    void handleConnectActive(std::uint8_t subcommand, const std::uint8_t* message,
                             std::size_t size);

    /// True when the result is an error (and has been reported).
    bool checkInfo(std::uint32_t info);
    bool checkDriverResult(std::uint32_t result);
    /// Asks the driver (query), names the command in the trace and gives answer()'s text, or
    /// the empty text when the driver refused.
    template <typename Query, typename Answer>
    std::string diagnose(const char* command, Query query, Answer answer);
    void setLastCommand(std::string command);
    void reportError(std::string error);
    static void raise(const std::function<void()>& event);
    std::uint16_t applId16() const { return static_cast<std::uint16_t>(m_applId); }

    std::unique_ptr<CapiDriver> m_driver;
    std::uint32_t m_applId = 0;
    bool m_isRegistered = false;
    bool m_lineLost = false;
    std::string m_lastCommand;
    std::string m_lastError;
    int m_nesting = 0;

    std::uint32_t m_callPlci = 0;       // of the last CONNECT_IND
    std::set<std::uint32_t> m_offered;  // calls offered and not yet cleared
    std::set<std::uint32_t> m_rejected; // of those, the ones turned away
    std::uint32_t m_eventPlci = 0;      // of the call the last event was about
    std::string m_calledMSN;
    std::string m_callerID;
    std::int16_t m_callerCIP = 0;
    std::int16_t m_disconnectReason = 0;
    capi::CallerTexts m_callerTexts;
};
