#include "calls/CallMonitorLine.h"

#include "line/CapiMessages.h"
#include "support/QtText.h"

namespace {

// The connection id of the debug window's test call.
constexpr std::uint32_t kTestConnectionId = 0xF01;

} // namespace

CallMonitorLine::CallMonitorLine(const callmonitor::Endpoint& endpoint, QObject* parent)
    : Line(parent), m_callLine(m_calls), m_session(m_calls, endpoint) {
    m_calls.events.notice = [this](const std::string& text) { emit notice("\r\n" + qs(text)); };
    m_calls.events.incomingCall = [this]() { tellCallArrived(); };
    m_calls.events.callEnded = [this]() { tellCallEnded(); };
    connect(&m_session, &CallMonitorSession::notice, this, &Line::notice);
    connect(&m_session, &CallMonitorSession::lineUp, this,
            [this]() { emit lineUp("call monitor " + m_session.address()); });
    connect(&m_session, &CallMonitorSession::lineLost, this, &Line::lineLost);
    connect(&m_session, &CallMonitorSession::lineRestored, this, &Line::lineRestored);
}

CallMonitorLine::~CallMonitorLine() = default;

void CallMonitorLine::start() {
    m_session.start();
}

void CallMonitorLine::stop() {
    m_session.stop();
}

void CallMonitorLine::setCallerTexts(const capi::CallerTexts& texts) {
    // Without blanks, as the CAPI line writes a caller.
    std::string withheld = texts.withheld;
    std::erase(withheld, ' ');
    m_calls.setWithheldText(withheld);
}

void CallMonitorLine::rejectLatestCall() {
    m_calls.rejectCall(m_calls.eventId());
}

void CallMonitorLine::placeTestCall() {
    callmonitor::Event ring;
    ring.connectionId = kTestConnectionId;
    ring.caller = std::string("0") + kTestCallerDigits;
    ring.called = kTestMsn;
    m_calls.handleEvent(ring);
}

void CallMonitorLine::endTestCall() {
    callmonitor::Event end;
    end.kind = callmonitor::EventKind::Disconnect;
    end.connectionId = kTestConnectionId;
    m_calls.handleEvent(end);
}
