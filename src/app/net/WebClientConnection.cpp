#include "net/WebClientConnection.h"

#include "platform/DeadPeerDetection.h"

#include <QTcpSocket>

namespace {

// What is handed to the socket at a time: a large page is never copied whole.
constexpr qint64 kPieceBytes = qint64{64} * 1024;

} // namespace

WebClientConnection::WebClientConnection(QTcpSocket* socket, Limits limits, RequestHandler handler,
                                         QObject* parent)
    : QObject(parent), m_socket(socket), m_limits(limits), m_handler(std::move(handler)),
      m_lastHeard(std::chrono::steady_clock::now()) {
    m_socket->setParent(this);
    // An events listener that vanished without a word is found out within a minute.
    enableDeadPeerDetection(m_socket->socketDescriptor());
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &WebClientConnection::drop);
    connect(m_socket, &QTcpSocket::readyRead, this, &WebClientConnection::readIncoming);
    connect(m_socket, &QTcpSocket::bytesWritten, this, &WebClientConnection::sendMore);
    connect(m_socket, &QTcpSocket::disconnected, this, &WebClientConnection::finish);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &WebClientConnection::finish);
    m_deadline.start(m_limits.headTime);
    if (m_socket->state() != QAbstractSocket::ConnectedState) {
        QMetaObject::invokeMethod(this, &WebClientConnection::finish, Qt::QueuedConnection);
    } else if (m_socket->bytesAvailable() > 0) {
        QMetaObject::invokeMethod(this, &WebClientConnection::readIncoming, Qt::QueuedConnection);
    }
}

WebClientConnection::~WebClientConnection() = default;

void WebClientConnection::readIncoming() {
    if (m_finished) {
        return;
    }
    if (m_state == State::Streaming) {
        m_socket->readAll(); // a listener has nothing more to say
        return;
    }
    const qint64 room = static_cast<qint64>(kMaxWebRequestBytes) - m_buffer.size();
    if (room > 0 && m_socket->bytesAvailable() > 0) {
        m_buffer += m_socket->read(room);
        m_lastHeard = std::chrono::steady_clock::now();
    }
    if (m_state == State::ReadingHead) {
        handleBufferedRequest();
    }
}

void WebClientConnection::handleBufferedRequest() {
    const WebRequest request =
        parseWebRequest(std::string_view(m_buffer.constData(), m_buffer.size()));
    if (request.status == WebRequest::Status::Incomplete) {
        return;
    }
    m_state = State::Answering;
    m_deadline.stop();
    if (request.status == WebRequest::Status::Complete) {
        m_buffer.remove(0, static_cast<qsizetype>(request.headLength));
    } else {
        m_buffer.clear();
    }
    m_handler(*this, request);
}

void WebClientConnection::reply(const QByteArray& head, SharedBody body, bool keepAlive) {
    if (m_finished) {
        return;
    }
    m_state = State::Sending;
    m_keepAlive = keepAlive;
    m_body = std::move(body);
    m_piece = 0;
    m_offset = 0;
    m_socket->write(head);
    m_deadline.start(m_limits.sendTime);
    sendMore();
}

void WebClientConnection::sendMore() {
    if (m_state == State::Streaming) {
        m_deadline.stop();
        return;
    }
    if (m_state != State::Sending || m_finished) {
        return;
    }
    m_deadline.start(m_limits.sendTime); // progress
    while (m_socket->bytesToWrite() < kPieceBytes && m_piece < m_body.pieces.size()) {
        const std::string_view piece = m_body.pieces[m_piece];
        const auto length = std::min<std::size_t>(piece.size() - m_offset, kPieceBytes);
        m_socket->write(piece.data() + m_offset, static_cast<qint64>(length));
        m_offset += length;
        if (m_offset == piece.size()) {
            ++m_piece;
            m_offset = 0;
        }
    }
    if (m_piece < m_body.pieces.size() || m_socket->bytesToWrite() > 0) {
        return;
    }
    m_body = {};
    if (m_keepAlive) {
        waitForNextRequest();
    } else {
        m_state = State::Answering;
        m_socket->disconnectFromHost();
    }
}

void WebClientConnection::waitForNextRequest() {
    m_state = State::ReadingHead;
    m_deadline.start(m_limits.headTime);
    // A request may already have come behind the last one.
    QMetaObject::invokeMethod(this, &WebClientConnection::readIncoming, Qt::QueuedConnection);
}

void WebClientConnection::startEventStream(const QByteArray& head) {
    if (m_finished) {
        return;
    }
    m_state = State::Streaming;
    m_deadline.stop();
    m_buffer.clear();
    m_socket->write(head);
}

void WebClientConnection::sendEvent(const QByteArray& message) {
    if (m_state != State::Streaming || m_finished) {
        return;
    }
    if (m_socket->bytesToWrite() + message.size() > m_limits.maxUnsentEvents) {
        drop();
        return;
    }
    m_socket->write(message);
}

void WebClientConnection::drop() {
    finish();
}

void WebClientConnection::finish() {
    if (m_finished) {
        return;
    }
    m_finished = true;
    m_deadline.stop();
    m_body = {};
    m_socket->abort();
    emit closed();
    deleteLater();
}
