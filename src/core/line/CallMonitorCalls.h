#pragma once

#include "line/CallMonitorProtocol.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

/// The incoming calls that a router's call monitor reports, described the way the CAPI
/// application describes its calls: events without arguments and properties of the call the
/// latest event is about. A call rings from RING until CONNECT (answered) or DISCONNECT (the
/// caller gave up); outgoing calls are left out. The router cannot be asked to turn a call away.
class CallMonitorCalls {
public:
    struct Events {
        std::function<void()> incomingCall;                  // a RING has been taken
        std::function<void()> callEnded;                     // a ringing call has ended
        std::function<void(const std::string& text)> notice; // a line for the debug trace
    };

    Events events;

    /// The text for a caller who withholds the number.
    void setWithheldText(std::string text) { m_withheldText = std::move(text); }

    /// Handles one line of the call monitor; a line that is not understood is reported through
    /// notice and skipped.
    void handleLine(std::string_view line);
    void handleEvent(const callmonitor::Event& event);
    /// The connection to the router is gone: the calls it reported are forgotten (the call
    /// handling ends them itself).
    void forgetCalls() { m_ringing.clear(); }
    /// Says in the trace that the call rings on: this line cannot turn calls away.
    void rejectCall(std::uint32_t connectionId);

    // The call the latest event was about.
    const std::string& callerId() const { return m_callerId; }
    const std::string& calledMsn() const { return m_calledMsn; }
    std::uint16_t endReason() const { return m_endReason; }
    std::uint32_t eventId() const { return m_eventId; }
    /// Connection ids of the calls that ring now.
    std::size_t ringingCount() const { return m_ringing.size(); }

private:
    struct RingingCall {
        std::string caller;
        std::string called;
    };

    void ring(const callmonitor::Event& event);
    void end(std::uint32_t connectionId, std::uint16_t reason);
    void tell(const std::string& text) const;
    static void raise(const std::function<void()>& event);

    std::map<std::uint32_t, RingingCall> m_ringing;
    std::string m_withheldText;
    std::string m_callerId;
    std::string m_calledMsn;
    std::uint16_t m_endReason = 0;
    std::uint32_t m_eventId = 0;
};
