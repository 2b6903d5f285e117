#pragma once

#include "line/CallMonitorProtocol.h"
#include "line/ReconnectBackoff.h"

#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <QTimer>

#include <deque>
#include <string>

class CallMonitorCalls;

/// The TCP connection to a router's call monitor: feeds every line it receives to the calls,
/// and when the connection cannot be made or is lost, connects again after the backoff's
/// delays, for ever. A flood of lines is handled in small batches with the event loop running
/// between them, so the windows and a request to end the program never wait for it.
class CallMonitorSession : public QObject {
    Q_OBJECT
public:
    /// How long a connection attempt may take before it counts as failed.
    static constexpr int kConnectTimeoutMs = 10000;
    /// The most lines handled before the event loop runs again.
    static constexpr int kLinesPerBatch = 32;

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
    void handleBatch();
    /// Hands every line received so far to the calls (the connection is about to go).
    void handleAllReceived();
    void takeReceivedBytes(qint64 maxBytes);
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
    QTimer m_nextBatch;
    std::deque<std::string> m_pending; // lines received, not yet handled
    bool m_stopped = false;
    bool m_everConnected = false;
    bool m_down = false;
};
