#pragma once

#include "outputs/AddressAllowList.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QTcpServer>

#include <cstdint>

class Log;
class QTcpSocket;
struct CallEvent;

/// Serves the program's calls in a router's call-monitor line format to any number of clients,
/// so that other programs (another Rufwacht with --line=callmonitor:HOST:PORT) learn every call.
/// The protocol is one-way: what clients send is read and thrown away. A client whose address
/// the allow list does not hold is closed at once; one that falls behind by more than its
/// buffer holds is dropped. Neither ever delays the call handling or the other clients.
class CallMonitorServer : public QObject {
    Q_OBJECT
public:
    /// What a client may fall behind by, in bytes, before it is dropped (some hundred calls).
    static constexpr qint64 kMaxBehindBytes = qint64{64} * 1024;

    explicit CallMonitorServer(const Log& log, QObject* parent = nullptr);
    ~CallMonitorServer() override;

    /// Listens on the port on every address; false (and a log line) when the port cannot be
    /// used.
    bool start(std::uint16_t port, const AddressAllowList& allowed);
    void stop();
    /// Writes the event's line to every client.
    void publish(const CallEvent& event);

    quint16 port() const { return m_server.serverPort(); }
    qsizetype clientCount() const { return m_clients.size(); }

signals:
    /// A line for the debug trace.
    void notice(const QString& text);

private:
    void onNewConnection();
    void accept(QTcpSocket* client);
    void refuse(QTcpSocket* client);
    void drop(QTcpSocket* client, const QString& why);
    void forget(QTcpSocket* client);

    const Log& m_log;
    QTcpServer m_server;
    AddressAllowList m_allowed;
    QList<QTcpSocket*> m_clients;
    QSet<QString> m_refusedAddresses; // logged once each
};
