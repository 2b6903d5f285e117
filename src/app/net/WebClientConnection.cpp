#include "net/WebClientConnection.h"

#include <QTcpSocket>

WebClientConnection::WebClientConnection(QTcpSocket* socket, std::chrono::milliseconds idleTime,
                                         Responder responder, QObject* parent)
    : QObject(parent), m_socket(socket), m_responder(std::move(responder)) {
    m_socket->setParent(this);
    m_idleTimer.setSingleShot(true);
    m_idleTimer.setInterval(idleTime);
    connect(&m_idleTimer, &QTimer::timeout, this, [this]() { m_socket->abort(); });
    connect(m_socket, &QTcpSocket::readyRead, this, &WebClientConnection::readRequest);
    connect(m_socket, &QTcpSocket::bytesWritten, this, [this]() { m_idleTimer.start(); });
    connect(m_socket, &QTcpSocket::disconnected, this, &WebClientConnection::finish);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &WebClientConnection::finish);
    m_idleTimer.start();
    if (m_socket->state() != QAbstractSocket::ConnectedState) {
        QMetaObject::invokeMethod(this, &WebClientConnection::finish, Qt::QueuedConnection);
    } else if (m_socket->bytesAvailable() > 0) {
        QMetaObject::invokeMethod(this, &WebClientConnection::readRequest, Qt::QueuedConnection);
    }
}

WebClientConnection::~WebClientConnection() = default;

void WebClientConnection::readRequest() {
    if (m_answered) {
        m_socket->readAll(); // what follows the request is not needed
        return;
    }
    const qint64 room = static_cast<qint64>(kMaxWebRequestBytes) - m_request.size();
    m_request += m_socket->read(room);
    const WebRequest request =
        parseWebRequest(std::string_view(m_request.constData(), m_request.size()));
    if (request.status != WebRequest::Status::Incomplete) {
        answer(request);
    }
}

void WebClientConnection::answer(const WebRequest& request) {
    m_answered = true;
    m_socket->readAll();
    m_socket->write(m_responder(request));
    m_idleTimer.start();
    // Closes once everything has been sent.
    m_socket->disconnectFromHost();
}

void WebClientConnection::finish() {
    if (m_finished) {
        return;
    }
    m_finished = true;
    m_idleTimer.stop();
    m_socket->abort();
    emit closed();
    deleteLater();
}
