#include "line/CallMonitorCalls.h"

#include "line/DisconnectReason.h"

void CallMonitorCalls::handleLine(std::string_view line) {
    const auto parsed = callmonitor::parseLine(line);
    if (!parsed.event) {
        tell("--> Call monitor line skipped (" + parsed.problem + ")");
        return;
    }
    handleEvent(*parsed.event);
}

void CallMonitorCalls::handleEvent(const callmonitor::Event& event) {
    switch (event.kind) {
    case callmonitor::EventKind::Ring:
        ring(event);
        break;
    case callmonitor::EventKind::Connect:
        // Answered at one of the router's telephones: for this program the call is over, as
        // for a CAPI call that another terminal took.
        end(event.connectionId, kReasonAnsweredElsewhere);
        break;
    case callmonitor::EventKind::Disconnect:
        // An answered call was ended at its CONNECT; one still ringing was given up.
        end(event.connectionId, kReasonNormalClearing);
        break;
    case callmonitor::EventKind::Call:
        break;
    }
}

void CallMonitorCalls::ring(const callmonitor::Event& event) {
    // A connection id rings again without having ended: its end was lost on the way.
    if (m_ringing.contains(event.connectionId)) {
        end(event.connectionId, kReasonLineLost);
    }
    const std::string caller = event.caller.empty() ? m_withheldText : event.caller;
    m_ringing[event.connectionId] = RingingCall{caller, event.called};
    m_eventId = event.connectionId;
    m_callerId = caller;
    m_calledMsn = event.called;
    raise(events.incomingCall);
}

void CallMonitorCalls::end(std::uint32_t connectionId, std::uint16_t reason) {
    const auto found = m_ringing.find(connectionId);
    if (found == m_ringing.end()) {
        return;
    }
    m_eventId = connectionId;
    m_callerId = found->second.caller;
    m_calledMsn = found->second.called;
    m_endReason = reason;
    m_ringing.erase(found);
    raise(events.callEnded);
}

void CallMonitorCalls::rejectCall(std::uint32_t connectionId) {
    tell("--> Rejecting is not possible on the call monitor: call " + std::to_string(connectionId) +
         " rings on");
}

void CallMonitorCalls::tell(const std::string& text) const {
    if (events.notice) {
        events.notice(text);
    }
}

void CallMonitorCalls::raise(const std::function<void()>& event) {
    // A copy, so that a receiver may replace its own callback while it runs.
    if (const auto handler = event) {
        handler();
    }
}
