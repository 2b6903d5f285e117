#include "calls/LineSession.h"

#include "line/CapiApplication.h"
#include "platform/DeadPeerDetection.h"
#include "support/QtText.h"

#include <QSocketNotifier>

LineSession::LineSession(CapiApplication& capi, ReconnectBackoff backoff, QObject* parent)
    : QObject(parent), m_capi(capi), m_backoff(backoff) {
    m_pollTimer.setInterval(kPollIntervalMs);
    m_retryTimer.setSingleShot(true);
    connect(&m_pollTimer, &QTimer::timeout, this, &LineSession::fetchMessages);
    connect(&m_countdownTimer, &QTimer::timeout, this, &LineSession::onCountdownTick);
    connect(&m_retryTimer, &QTimer::timeout, this, &LineSession::reconnect);
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
    if (m_capi.registerApplication()) {
        startListening();
        return true;
    }
    if (m_capi.driver().loadFailure()) {
        emit registrationFailed();
        return false;
    }
    // A CAPI that is not there yet (a router still starting) may come: try again.
    loseLine();
    return false;
}

void LineSession::startListening() {
    // A refused listen request shows only in the trace; polling starts regardless.
    m_capi.listen();
    m_pollTimer.start();
    watchReadiness();
}

void LineSession::stop() {
    m_stopped = true;
    m_pollTimer.stop();
    m_countdownTimer.stop();
    m_retryTimer.stop();
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
    // A remote CAPI's descriptor is libcapi20's TCP connection to the router: probe it like the
    // call monitor's, so that a router that vanished shows as a lost line. The kernel CAPI's
    // device file is left as it is.
    enableDeadPeerDetection(handle);
    m_readiness = new QSocketNotifier(handle, QSocketNotifier::Read, this);
    connect(m_readiness, &QSocketNotifier::activated, this, &LineSession::fetchMessages);
}

void LineSession::fetchMessages() {
    if (m_stopped || m_down) {
        return;
    }
    const int fetched = m_capi.drainMessages(kMaxMessagesPerWakeUp);
    // Handling a message may have ended the program.
    if (m_stopped) {
        return;
    }
    if (m_capi.isLineLost()) {
        loseLine();
        return;
    }
    // The driver may have lost its handle (a remote CAPI that went away).
    watchReadiness();
    if (fetched >= kMaxMessagesPerWakeUp) {
        QTimer::singleShot(0, this, &LineSession::fetchMessages);
    }
}

void LineSession::loseLine() {
    const QString reason = qs(m_capi.lastError());
    m_pollTimer.stop();
    delete m_readiness;
    m_capi.releaseLostLine();
    if (!m_down) {
        m_down = true;
        emit lineLost(reason);
    }
    if (!m_stopped) {
        m_retryTimer.start(static_cast<int>(m_backoff.nextDelay().count()));
    }
}

void LineSession::reconnect() {
    if (m_stopped) {
        return;
    }
    m_reconnecting = true;
    const bool registered = m_capi.registerApplication();
    if (registered) {
        startListening();
    }
    m_reconnecting = false;
    if (!registered) {
        emit reconnectFailed();
        m_capi.releaseLostLine();
        m_retryTimer.start(static_cast<int>(m_backoff.nextDelay().count()));
        return;
    }
    m_down = false;
    m_backoff.reset();
    emit lineRestored();
}
