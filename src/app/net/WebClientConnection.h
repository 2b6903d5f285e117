#pragma once

#include "net/WebRequest.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

class QTcpSocket;

/// One client of the journal page server: collects its request head, sends the one reply and
/// closes. A client that stays silent, or stops reading the reply, is dropped after the idle
/// time.
class WebClientConnection : public QObject {
    Q_OBJECT
public:
    /// Makes the reply to a complete (or refused) request.
    using Responder = std::function<QByteArray(const WebRequest&)>;

    /// Takes the socket over as its child.
    WebClientConnection(QTcpSocket* socket, std::chrono::milliseconds idleTime, Responder responder,
                        QObject* parent = nullptr);
    ~WebClientConnection() override;

signals:
    /// The connection has ended, answered or not; the object deletes itself afterwards.
    void closed();

private:
    void readRequest();
    void answer(const WebRequest& request);
    void finish();

    QTcpSocket* m_socket;
    Responder m_responder;
    QByteArray m_request;
    QTimer m_idleTimer;
    bool m_answered = false;
    bool m_finished = false;
};
