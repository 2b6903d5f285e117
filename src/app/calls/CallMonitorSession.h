#pragma once

#include "line/CallMonitorProtocol.h"
#include "line/ReconnectBackoff.h"

#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <QTimer>

class CallMonitorCalls;

/// The TCP connection to a router's call monitor: feeds every line it receives to the calls,
/// and when the connection cannot be made or is lost, connects again after the backoff's
/// delays, for ever.
class CallMonitorSession : public QObject {
    Q_OBJECT
public:
    /// How long a connection attempt may take before it counts as failed.
    static constexpr int kConnectTimeoutMs = 10000;

    CallMonitorSession(CallMonitorCalls& calls, callmonitor::Endpoint endpoint,
                       ReconnectBackoff backoff = ReconnectBackoff(), QObject* parent = nullptr);
    ~CallMonitorSession() override;

    /// Connects for the first time.
    void start();
    /// Closes the connection and stops reconnecting.
    void stop();

    bool isConnected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }
    bool isDown() const { return m_down; }
    /// Milliseconds until the next attempt to connect, or -1 when none is due.
    int retryDelayMs() const { return m_retryTimer.isActive() ? m_retryTimer.interval() : -1; }
    /// "HOST:PORT", for the trace.
    QString address() const;

signals:
    /// Connected for the first time.
    void lineUp();
    /// The first connection could not be made, or an established one was lost (once per
    /// outage).
    void lineLost(const QString& reason);
    /// Connected again after an outage.
    void lineRestored();
    /// Another attempt during an outage failed.
    void reconnectFailed();
    /// A line for the debug trace.
    void notice(const QString& text);

private:
    void connectNow();
    void onConnected();
    void onReadyRead();
    void onFailure(const QString& reason);
    void onSocketError(QAbstractSocket::SocketError error);
    void onConnectTimeout();

    CallMonitorCalls& m_calls;
    callmonitor::Endpoint m_endpoint;
    ReconnectBackoff m_backoff;
    callmonitor::LineSplitter m_splitter;
    QTcpSocket m_socket;
    QTimer m_retryTimer;
    QTimer m_connectTimer;
    bool m_stopped = false;
    bool m_everConnected = false;
    bool m_down = false;
};
