#pragma once

#include "line/CapiMessages.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

/// A router's remote CAPI on 127.0.0.1, as far as libcapi20's "fritzbox" module needs it: each
/// frame is 0x80 and a 16-bit length, then a CAPI message; the module's own command 0x20
/// registers (answered with the application id), releases and asks for the profile. Requests
/// are confirmed; the test offers calls and can make the router go away and come back.
class FakeRemoteCapi : public QObject {
    Q_OBJECT
public:
    static constexpr std::uint16_t kApplId = 1;

    /// Listens on the port (0: any free one).
    bool listen(quint16 port = 0);
    quint16 port() const { return m_port; }
    /// Listening and a listen request came in on the registered connection.
    bool isListenedTo() const { return m_application && m_listening; }
    /// Offers a call to the registered application (CONNECT_IND).
    void offerCall(std::uint32_t plci, const char* calledDigits, const char* callingDigits);
    /// Closes every connection and stops listening, as a router that restarts.
    void goAway();
    /// Names of the CAPI messages received ("CAPI_ALERT - CAPI_REQ"), and "REGISTER"/"RELEASE".
    const QStringList& received() const { return m_received; }

private:
    void accept();
    void readFrom(QTcpSocket* socket);
    void handle(QTcpSocket* socket, const capi::Message& message);
    void send(QTcpSocket* socket, const capi::Message& message);

    QTcpServer m_server;
    quint16 m_port = 0;
    QList<QPointer<QTcpSocket>> m_clients;
    QHash<QTcpSocket*, QByteArray> m_pending; // bytes of frames not yet complete
    QPointer<QTcpSocket> m_application;
    bool m_listening = false;
    std::uint16_t m_number = 0;
    QStringList m_received;
};
