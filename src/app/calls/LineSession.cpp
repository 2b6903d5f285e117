#include "calls/LineSession.h"

#include "line/CapiApplication.h"

#include <QSocketNotifier>

LineSession::LineSession(CapiApplication& capi, QObject* parent) : QObject(parent), m_capi(capi) {
    m_pollTimer.setInterval(kPollIntervalMs);
    connect(&m_pollTimer, &QTimer::timeout, this, &LineSession::fetchMessages);
    connect(&m_countdownTimer, &QTimer::timeout, this, &LineSession::onCountdownTick);
}

LineSession::~LineSession() {
    stop();
}

void LineSession::start(int delaySeconds) {
    if (delaySeconds <= 0) {
        registerAndListen();
        return;
    }
    m_countdown = delaySeconds;
    m_countdownTimer.start(1000);
}

void LineSession::onCountdownTick() {
    --m_countdown;
    if (m_countdown < 1) {
        m_countdownTimer.stop();
        registerAndListen();
    }
}

bool LineSession::registerAndListen() {
    if (!m_capi.registerApplication()) {
        emit registrationFailed();
        return false;
    }
    // A refused listen request shows only in the trace; polling starts regardless.
    m_capi.listen();
    m_pollTimer.start();
    watchReadiness();
    return true;
}

void LineSession::stop() {
    m_stopped = true;
    m_pollTimer.stop();
    m_countdownTimer.stop();
    delete m_readiness;
}

void LineSession::watchReadiness() {
    const int handle = m_capi.readinessHandle();
    if (m_readiness && m_readiness->socket() == handle) {
        return;
    }
    delete m_readiness;
    if (handle < 0) {
        return;
    }
    m_readiness = new QSocketNotifier(handle, QSocketNotifier::Read, this);
    connect(m_readiness, &QSocketNotifier::activated, this, &LineSession::fetchMessages);
}

void LineSession::fetchMessages() {
    if (m_stopped) {
        return;
    }
    const int fetched = m_capi.drainMessages(kMaxMessagesPerWakeUp);
    // Handling a message may have ended the program.
    if (m_stopped) {
        return;
    }
    // The driver may have lost its handle (a remote CAPI that went away).
    watchReadiness();
    if (fetched >= kMaxMessagesPerWakeUp) {
        QTimer::singleShot(0, this, &LineSession::fetchMessages);
    }
}
