#include "FakeRemoteCapi.h"

#include "line/CapiCodeTables.h"

namespace {

constexpr std::uint8_t kFrameType = 0x80;
constexpr std::uint8_t kModuleCommand = 0x20; // register, release, profile
constexpr std::size_t kFrameHeader = 3;

} // namespace

bool FakeRemoteCapi::listen(quint16 port) {
    if (!m_server.listen(QHostAddress::LocalHost, port)) {
        return false;
    }
    m_port = m_server.serverPort();
    connect(&m_server, &QTcpServer::newConnection, this, &FakeRemoteCapi::accept,
            Qt::UniqueConnection);
    return true;
}

void FakeRemoteCapi::accept() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        m_clients.append(socket);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket]() { readFrom(socket); });
    }
}

void FakeRemoteCapi::readFrom(QTcpSocket* socket) {
    QByteArray& pending = m_pending[socket];
    pending += socket->readAll();
    while (pending.size() >= static_cast<int>(kFrameHeader)) {
        const auto length = static_cast<int>(static_cast<std::uint8_t>(pending[1]) |
                                             static_cast<std::uint8_t>(pending[2]) << 8);
        if (pending.size() < static_cast<int>(kFrameHeader) + length) {
            break;
        }
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(pending.constData());
        const capi::Message message(bytes + kFrameHeader, bytes + kFrameHeader + length);
        pending.remove(0, static_cast<int>(kFrameHeader) + length);
        handle(socket, message);
    }
}

void FakeRemoteCapi::handle(QTcpSocket* socket, const capi::Message& message) {
    if (message.size() < 12) {
        return;
    }
    if (message[4] == kModuleCommand) {
        // The module reads its answer as a type byte, a length byte and that many bytes, and
        // takes the application id from offset 2 and the result from offset 16 of those.
        switch (message[11]) {
        case 0: {
            m_received.append("REGISTER");
            m_application = socket;
            m_listening = false;
            QByteArray answer(22, '\0');
            answer[0] = static_cast<char>(kFrameType);
            answer[1] = 20;
            answer[4] = static_cast<char>(kApplId);
            socket->write(answer);
            break;
        }
        case 1:
            m_received.append("RELEASE");
            break;
        default:
            break;
        }
        return;
    }
    const auto header = capi::decodeHeader(message.data(), message.size());
    m_received.append(QString::fromLatin1(CommandName(header.command).data()) + " - " +
                      QString::fromLatin1(SubcommandName(header.subcommand).data()));
    if (header.subcommand != capi::kReq) {
        return;
    }
    if (header.command == capi::kListen) {
        m_listening = true;
    }
    const auto target = capi::readLE(message.data(), message.size(), 8, 4);
    send(socket, capi::encodeConfirmation(kApplId, header.command, header.number, target, 0));
}

void FakeRemoteCapi::send(QTcpSocket* socket, const capi::Message& message) {
    QByteArray frame;
    frame.append(static_cast<char>(kFrameType));
    frame.append(static_cast<char>(message.size() & 0xFF));
    frame.append(static_cast<char>(message.size() >> 8));
    frame.append(reinterpret_cast<const char*>(message.data()), static_cast<int>(message.size()));
    socket->write(frame);
    socket->flush();
}

void FakeRemoteCapi::offerCall(std::uint32_t plci, const char* calledDigits,
                               const char* callingDigits) {
    capi::IncomingCallElements call;
    call.plci = plci;
    call.calledDigits = calledDigits;
    call.callingDigits = callingDigits;
    send(m_application, capi::encodeConnectInd(kApplId, ++m_number, call));
}

void FakeRemoteCapi::goAway() {
    for (const QPointer<QTcpSocket>& client : m_clients) {
        if (client) {
            client->abort();
            client->deleteLater();
        }
    }
    m_clients.clear();
    m_pending.clear();
    m_application = nullptr;
    m_listening = false;
    m_server.close();
}
