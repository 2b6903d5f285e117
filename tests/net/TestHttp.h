#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

/// A client of a test: sends bytes and collects what comes back until the server closes.
class TestClient : public QObject {
public:
    explicit TestClient(quint16 port) {
        connect(&socket, &QTcpSocket::readyRead, this, [this]() { received += socket.readAll(); });
        socket.connectToHost(QHostAddress::LocalHost, port);
    }
    bool waitConnected() {
        return QTest::qWaitFor(
            [this]() { return socket.state() == QAbstractSocket::ConnectedState; }, 5000);
    }
    void send(const QByteArray& bytes) { socket.write(bytes); }
    bool waitClosed(int timeoutMs = 5000) {
        return QTest::qWaitFor(
            [this]() { return socket.state() == QAbstractSocket::UnconnectedState; }, timeoutMs);
    }
    /// Sends a request and waits for the whole reply.
    QByteArray request(const QByteArray& bytes) {
        send(bytes);
        return waitClosed() ? received : QByteArray("(no end)");
    }

    QTcpSocket socket;
    QByteArray received;
};

/// An HTTP server of a test on 127.0.0.1: answers paths with canned replies, or hands a
/// request's connection to the test, which then answers by hand.
class TestHttpServer : public QObject {
public:
    TestHttpServer() {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, &TestHttpServer::accept);
    }

    QString url(const QString& path) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
    }
    quint16 port() const { return m_server.serverPort(); }

    /// Answers every request for path with reply, then closes.
    void serve(const QByteArray& path, const QByteArray& reply) { m_replies[path] = reply; }
    static QByteArray ok(const QByteArray& body) {
        return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) +
               "\r\nConnection: close\r\n\r\n" + body;
    }

    /// Waits for a request that has no canned reply and gives its connection; the request
    /// head is in heads.last().
    QTcpSocket* nextRequest() {
        if (!QTest::qWaitFor([this]() { return !m_waiting.isEmpty(); }, 10000)) {
            return nullptr;
        }
        return m_waiting.takeFirst().data();
    }

    QList<QByteArray> heads;

private:
    void accept() {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket]() { read(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }
    void read(QTcpSocket* socket) {
        QByteArray& head = m_partial[socket];
        head += socket->readAll();
        if (!head.contains("\r\n\r\n")) {
            return;
        }
        heads.append(head);
        const QByteArray path = head.split(' ').value(1);
        m_partial.remove(socket);
        socket->disconnect(this);
        if (m_replies.contains(path)) {
            socket->write(m_replies.value(path));
            socket->disconnectFromHost();
        } else {
            m_waiting.append(socket);
        }
    }

    QTcpServer m_server;
    QHash<QByteArray, QByteArray> m_replies;
    QHash<QTcpSocket*, QByteArray> m_partial;
    QList<QPointer<QTcpSocket>> m_waiting;
};
