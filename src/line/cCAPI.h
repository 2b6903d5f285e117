#pragma once

#include "line/CapiDriver.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

/// The program's one CAPI 2.0 application: registers with the driver, listens for incoming
/// voice calls, fetches and answers messages and describes the current call through its
/// properties. Every driver result is turned into text (Status, Error) and an event.
class cCAPI {
public:
    /// Callbacks the owner sets; none takes arguments, the receiver reads the properties.
    struct Events {
        std::function<void()> IncomingCall;   // a CONNECT_IND has been decoded
        std::function<void()> CallDisconnect; // a DISCONNECT_IND has been decoded
        std::function<void()> Status;         // LastCommand has just been set
        std::function<void()> Error;          // LastError has just been set to an error
    };

    explicit cCAPI(std::unique_ptr<CapiDriver> driver);
    cCAPI(const cCAPI&) = delete;
    cCAPI& operator=(const cCAPI&) = delete;

    Events events;

    bool Register();
    bool Release();
    /// Puts LISTEN_REQ for voice calls on the first controller; true when the put succeeded.
    bool Listen();
    /// Fetches at most one message and handles it.
    void Get_Capi_Message();
    /// Fetches and handles messages until the queue is empty, a fetch fails or maxMessages have
    /// been fetched; returns how many were fetched. Called on each tick and readiness wake-up.
    int DrainMessages(int maxMessages = 64);
    /// Turns away the call of the last CONNECT_IND: accepts it and clears it at once.
    void RejectCall();

    std::string GET_MANUFACTURER();
    std::string GET_VERSION();
    std::string GET_PROFILE();
    std::string GET_SERIAL_NUMBER();
    bool INSTALLED();

    // The current call.
    const std::string& getCalledMSN() const { return m_calledMSN; }
    const std::string& getCallerID() const { return m_callerID; }
    std::int16_t getCallerHandling() const { return m_callerHandling; }
    std::string getCallerHandling2() const { return {}; }
    std::int16_t getCallerCIP() const { return m_callerCIP; }
    std::string getCallerCIP2() const;
    /// The PLCI of the call the last IncomingCall or CallDisconnect was about.
    std::uint32_t PLCI() const { return m_eventPlci; }

    /// "--> " and the last operation done with the driver.
    std::string Status() const { return "--> " + m_lastCommand; }
    /// "--> ERR: " and the last error.
    std::string Error() const { return "--> ERR: " + m_lastError; }
    const std::string& LastCommand() const { return m_lastCommand; }
    const std::string& LastError() const { return m_lastError; }
    bool isRegistered() const { return m_isRegistered; }

    /// Fakes a call ("08154711" calling "12345", CIP 2) without touching the driver.
    void TestIncommingCall();
    /// Fakes the end of a call with reason 0x3490 without touching the driver.
    void TestDisconnect();

    /// The driver's readiness handle (-1 when it has none); ask again after each drain, a
    /// driver may give it up when its connection is gone.
    int readinessHandle() const { return m_driver->readinessHandle(); }
    CapiDriver& driver() { return *m_driver; }

private:
    bool fetchAndHandle();
    bool putMessage(const std::vector<std::uint8_t>& message);
    void HandleConnect(std::uint8_t subcommand, const std::uint8_t* message, std::size_t size);
    void HandleDisconnect(std::uint8_t subcommand, const std::uint8_t* message, std::size_t size);
    void HandleInfo(std::uint8_t subcommand, const std::uint8_t* message, std::size_t size);
    void HandleConnectActive(std::uint8_t subcommand, const std::uint8_t* message,
                             std::size_t size);

    /// True when the result is an error (and has been reported).
    bool CheckInfo(std::uint32_t info);
    bool checkDriverResult(std::uint32_t result);
    void setLastCommand(std::string command);
    void reportError(std::string error);
    static void raise(const std::function<void()>& event);
    std::uint16_t applId16() const { return static_cast<std::uint16_t>(m_applId); }

    std::unique_ptr<CapiDriver> m_driver;
    std::uint32_t m_applId = 0;
    bool m_isRegistered = false;
    std::string m_lastCommand;
    std::string m_lastError;
    int m_nesting = 0;

    std::uint32_t m_callPlci = 0;  // of the last CONNECT_IND; RejectCall addresses it
    std::uint32_t m_eventPlci = 0; // of the call the last event was about
    std::string m_calledMSN;
    std::string m_callerID;
    std::int16_t m_callerCIP = 0;
    std::int16_t m_callerHandling = 0;
};
