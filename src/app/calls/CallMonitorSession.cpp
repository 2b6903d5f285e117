#include "calls/CallMonitorSession.h"

#include "line/CallMonitorCalls.h"
#include "platform/DeadPeerDetection.h"
#include "support/QtText.h"

#include <utility>

namespace {

// What one batch takes from the socket at most, and what the socket holds before the router
// has to wait: a flood stays in the system's buffers, not in memory.
constexpr qint64 kBytesPerBatch = qint64{16} * 1024;
constexpr qint64 kSocketBufferBytes = qint64{64} * 1024;

} // namespace

CallMonitorSession::CallMonitorSession(CallMonitorCalls& calls, callmonitor::Endpoint endpoint,
                                       ReconnectBackoff backoff, QObject* parent)
    : QObject(parent), m_calls(calls), m_endpoint(std::move(endpoint)), m_backoff(backoff) {
    m_retryTimer.setSingleShot(true);
    m_connectTimer.setSingleShot(true);
    m_connectTimer.setInterval(kConnectTimeoutMs);
    m_nextBatch.setSingleShot(true);
    m_nextBatch.setInterval(0);
    m_socket.setReadBufferSize(kSocketBufferBytes);
    connect(&m_nextBatch, &QTimer::timeout, this, &CallMonitorSession::handleBatch);
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
    m_nextBatch.stop();
    m_pending.clear();
    m_socket.abort();
}

void CallMonitorSession::connectNow() {
    if (m_stopped) {
        return;
    }
    m_splitter.clear();
    m_pending.clear();
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
    if (!m_nextBatch.isActive()) {
        handleBatch();
    }
}

void CallMonitorSession::takeReceivedBytes(qint64 maxBytes) {
    const QByteArray bytes = m_socket.read(maxBytes);
    for (std::string& line : m_splitter.feed(std::string_view(bytes.data(), bytes.size()))) {
        m_pending.push_back(std::move(line));
    }
    if (const int dropped = m_splitter.takeDroppedCount(); dropped > 0) {
        emit notice(QString("--> Call monitor: %1 line(s) longer than %2 bytes dropped")
                        .arg(dropped)
                        .arg(callmonitor::kMaxLineLength));
    }
}

void CallMonitorSession::handleBatch() {
    if (m_pending.empty()) {
        takeReceivedBytes(kBytesPerBatch);
    }
    for (int handled = 0; handled < kLinesPerBatch && !m_pending.empty(); ++handled) {
        const std::string line = std::move(m_pending.front());
        m_pending.pop_front();
        if (!line.empty()) {
            m_calls.handleLine(line);
        }
        if (m_stopped) {
            return;
        }
    }
    if (!m_pending.empty() || m_socket.bytesAvailable() > 0) {
        m_nextBatch.start();
    }
}

void CallMonitorSession::handleAllReceived() {
    m_nextBatch.stop();
    takeReceivedBytes(m_socket.bytesAvailable());
    while (!m_pending.empty() && !m_stopped) {
        const std::string line = std::move(m_pending.front());
        m_pending.pop_front();
        if (!line.empty()) {
            m_calls.handleLine(line);
        }
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
    // What the router said before the connection went still counts.
    handleAllReceived();
    if (m_stopped) {
        return;
    }
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
