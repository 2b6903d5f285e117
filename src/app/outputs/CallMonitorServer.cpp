#include "outputs/CallMonitorServer.h"

#include "line/CallMonitorLines.h"
#include "platform/DeadPeerDetection.h"
#include "support/Log.h"
#include "support/QtText.h"

#include <QTcpSocket>

namespace {

// Beyond this many refused addresses the memory of whom was logged starts afresh.
constexpr qsizetype kMaxRememberedRefusals = 1024;
// The system's own send buffer stays small, so that a client that stopped reading is noticed
// after a bounded amount of data.
constexpr int kSendBufferBytes = 16 * 1024;

QString addressOf(const QTcpSocket* client) {
    QHostAddress address = client->peerAddress();
    bool mapped = false;
    const quint32 ipv4 = address.toIPv4Address(&mapped);
    return mapped ? QHostAddress(ipv4).toString() : address.toString();
}

} // namespace

CallMonitorServer::CallMonitorServer(const Log& log, QObject* parent)
    : QObject(parent), m_log(log) {
    connect(&m_server, &QTcpServer::newConnection, this, &CallMonitorServer::onNewConnection);
}

CallMonitorServer::~CallMonitorServer() {
    stop();
}

bool CallMonitorServer::start(std::uint16_t port, const AddressAllowList& allowed) {
    stop();
    m_allowed = allowed;
    if (!m_server.listen(QHostAddress::Any, port)) {
        m_log.write("Call monitor server: port " + std::to_string(port) + " cannot be used (" +
                    ss(m_server.errorString()) + ")");
        return false;
    }
    emit notice("\r\n--> Call monitor server on port " + QString::number(m_server.serverPort()));
    return true;
}

void CallMonitorServer::stop() {
    m_server.close();
    for (QTcpSocket* client : std::exchange(m_clients, {})) {
        client->disconnect(this);
        client->abort();
        client->deleteLater();
    }
}

void CallMonitorServer::onNewConnection() {
    while (QTcpSocket* client = m_server.nextPendingConnection()) {
        if (m_allowed.allows(client->peerAddress())) {
            accept(client);
        } else {
            refuse(client);
        }
    }
}

void CallMonitorServer::accept(QTcpSocket* client) {
    client->setParent(this);
    m_clients.append(client);
    // A client that vanished without a word (power cut, cable) is found out within a minute.
    enableDeadPeerDetection(client->socketDescriptor());
    client->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kSendBufferBytes);
    // One-way: whatever a client sends is thrown away unread.
    connect(client, &QTcpSocket::readyRead, client,
            [client]() { client->skip(client->bytesAvailable()); });
    connect(client, &QTcpSocket::disconnected, this, [this, client]() { forget(client); });
    emit notice("\r\n--> Call monitor server: client " + addressOf(client) + " connected");
}

void CallMonitorServer::refuse(QTcpSocket* client) {
    const QString address = addressOf(client);
    client->abort();
    client->deleteLater();
    if (m_refusedAddresses.size() >= kMaxRememberedRefusals) {
        m_refusedAddresses.clear();
    }
    if (!m_refusedAddresses.contains(address)) {
        m_refusedAddresses.insert(address);
        m_log.write("Call monitor server: connection from " + ss(address) +
                    " refused (not in monitorallow)");
    }
}

void CallMonitorServer::publish(const CallEvent& event) {
    if (m_clients.isEmpty()) {
        return;
    }
    const std::string line = callmonitor::formatLine(event);
    const auto size = static_cast<qint64>(line.size());
    // A copy: dropping a client changes the list.
    for (QTcpSocket* client : QList<QTcpSocket*>(m_clients)) {
        if (client->bytesToWrite() + size > kMaxBehindBytes) {
            drop(client, "fell behind by more than " + QString::number(kMaxBehindBytes) + " bytes");
            continue;
        }
        client->write(line.data(), size);
        // Out at once rather than when the call handling is done; never blocks.
        client->flush();
    }
}

void CallMonitorServer::drop(QTcpSocket* client, const QString& why) {
    const QString address = addressOf(client);
    forget(client);
    client->abort();
    m_log.write("Call monitor server: client " + ss(address) + " dropped: " + ss(why));
    emit notice("\r\n--> Call monitor server: client " + address + " dropped: " + why);
}

void CallMonitorServer::forget(QTcpSocket* client) {
    if (m_clients.removeOne(client)) {
        client->disconnect(this);
        client->deleteLater();
    }
}
