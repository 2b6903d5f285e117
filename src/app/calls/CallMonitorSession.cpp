#include "calls/CallMonitorSession.h"

#include "line/CallMonitorCalls.h"
#include "platform/DeadPeerDetection.h"
#include "support/QtText.h"

#include <utility>

CallMonitorSession::CallMonitorSession(CallMonitorCalls& calls, callmonitor::Endpoint endpoint,
                                       ReconnectBackoff backoff, QObject* parent)
    : QObject(parent), m_calls(calls), m_endpoint(std::move(endpoint)), m_backoff(backoff) {
    m_retryTimer.setSingleShot(true);
    m_connectTimer.setSingleShot(true);
    m_connectTimer.setInterval(kConnectTimeoutMs);
    connect(&m_retryTimer, &QTimer::timeout, this, &CallMonitorSession::connectNow);
    connect(&m_connectTimer, &QTimer::timeout, this, &CallMonitorSession::onConnectTimeout);
    connect(&m_socket, &QTcpSocket::connected, this, &CallMonitorSession::onConnected);
    connect(&m_socket, &QTcpSocket::readyRead, this, &CallMonitorSession::onReadyRead);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &CallMonitorSession::onSocketError);
}

CallMonitorSession::~CallMonitorSession() {
    stop();
}

QString CallMonitorSession::address() const {
    return qs(m_endpoint.host) + ":" + QString::number(m_endpoint.port);
}

void CallMonitorSession::start() {
    m_stopped = false;
    connectNow();
}

void CallMonitorSession::stop() {
    m_stopped = true;
    m_retryTimer.stop();
    m_connectTimer.stop();
    m_socket.abort();
}

void CallMonitorSession::connectNow() {
    if (m_stopped) {
        return;
    }
    m_splitter.clear();
    m_socket.abort();
    m_connectTimer.start();
    m_socket.connectToHost(qs(m_endpoint.host), m_endpoint.port);
}

void CallMonitorSession::onConnected() {
    m_connectTimer.stop();
    // The router says nothing while no call comes: probe it, so a router that vanished is a
    // lost line within about a minute.
    enableDeadPeerDetection(m_socket.socketDescriptor());
    m_backoff.reset();
    const bool first = !std::exchange(m_everConnected, true);
    if (m_down) {
        m_down = false;
        emit lineRestored();
    } else if (first) {
        emit lineUp();
    }
}

void CallMonitorSession::onReadyRead() {
    const QByteArray bytes = m_socket.readAll();
    for (const std::string& line : m_splitter.feed(std::string_view(bytes.data(), bytes.size()))) {
        if (!line.empty()) {
            m_calls.handleLine(line);
        }
        if (m_stopped) {
            return;
        }
    }
    if (const int dropped = m_splitter.takeDroppedCount(); dropped > 0) {
        emit notice(QString("--> Call monitor: %1 line(s) longer than %2 bytes dropped")
                        .arg(dropped)
                        .arg(callmonitor::kMaxLineLength));
    }
}

void CallMonitorSession::onSocketError(QAbstractSocket::SocketError) {
    onFailure(m_socket.errorString());
}

void CallMonitorSession::onConnectTimeout() {
    onFailure(QString("no answer within %1 s").arg(kConnectTimeoutMs / 1000));
}

void CallMonitorSession::onFailure(const QString& reason) {
    if (m_stopped || m_retryTimer.isActive()) {
        return;
    }
    m_connectTimer.stop();
    m_socket.abort();
    m_splitter.clear();
    m_calls.forgetCalls();
    if (!m_down) {
        m_down = true;
        emit lineLost("Call monitor " + address() + ": " + reason);
    } else {
        emit reconnectFailed();
    }
    if (!m_stopped) {
        m_retryTimer.start(static_cast<int>(m_backoff.nextDelay().count()));
    }
}
