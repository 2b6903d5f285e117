#include "calls/CapiLine.h"

#include "calls/EndReason.h"
#include "line/LineTestControl.h"
#include "support/QtText.h"

#include <utility>

CapiLine::CapiLine(std::unique_ptr<CapiDriver> driver, const SettingsRecord& settings,
                   QObject* parent)
    : Line(parent), m_capi(std::move(driver)), m_callLine(m_capi), m_session(m_capi),
      m_settings(settings) {
    m_capi.events.statusChanged = [this]() { trace("\r\n" + qs(m_capi.statusText())); };
    m_capi.events.errorReported = [this]() { trace("\r\n" + qs(m_capi.errorText()) + "\r\n"); };
    m_capi.events.incomingCall = [this]() { tellCallArrived(); };
    m_capi.events.callDisconnected = [this]() {
        if (!tellCallEnded()) {
            emit notice(QString("\r\n--> DISCONNECT_IND for an unknown call (PLCI 0x%1): "
                                "answered, no record changed")
                            .arg(m_capi.eventPlci(), 0, 16));
        }
    };
    connect(&m_session, &LineSession::registrationFailed, this, &Line::registrationFailed);
    connect(&m_session, &LineSession::lineLost, this, &Line::lineLost);
    // A failed attempt's trace says nothing new; a successful one's shows the registration.
    connect(&m_session, &LineSession::reconnectFailed, this, [this]() { m_heldTrace.clear(); });
    connect(&m_session, &LineSession::lineRestored, this, [this]() {
        for (const QString& text : std::exchange(m_heldTrace, {})) {
            emit notice(text);
        }
        emit lineRestored();
    });
}

CapiLine::~CapiLine() {
    m_session.stop();
    m_capi.events = {};
    if (m_capi.isRegistered()) {
        m_capi.release();
    }
}

void CapiLine::start() {
    m_session.start(m_settings.delayRegistration ? (m_settings.registrationDelayStep + 1) * 30 : 0);
}

void CapiLine::stop() {
    m_session.stop();
    // After a refused registration there is nothing to release.
    if (m_capi.isRegistered()) {
        m_capi.release();
    }
}

void CapiLine::trace(const QString& text) {
    if (m_session.isReconnecting()) {
        m_heldTrace.append(text);
        return;
    }
    emit notice(text);
}

void CapiLine::setCallerTexts(const capi::CallerTexts& texts) {
    m_capi.setCallerTexts(texts);
}

void CapiLine::rejectLatestCall() {
    m_capi.rejectCall(m_capi.lastOfferedPlci());
}

void CapiLine::placeTestCall() {
    if (auto* line = m_capi.driver().testControl(); line && line->isListening()) {
        capi::IncomingCallElements call;
        call.calledDigits = kTestMsn;
        call.callingDigits = kTestCallerDigits;
        call.cip = 1; // speech: the listen request asks for voice calls only
        call.plci = m_nextTestPlci++;
        line->injectCall(call);
        return;
    }
    m_capi.simulateIncomingCall();
}

void CapiLine::endTestCall() {
    if (auto* line = m_capi.driver().testControl(); line) {
        const auto calls = line->callsInProgress();
        if (!calls.empty()) {
            line->injectHangup(calls.back(), kReasonNormalClearing);
            return;
        }
    }
    m_capi.simulateDisconnect();
}
