#include "RadicaleServer.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

RadicaleServer::~RadicaleServer() {
    stop();
}

bool RadicaleServer::isInstalled() {
    return !QStandardPaths::findExecutable("radicale").isEmpty();
}

bool RadicaleServer::start() {
    QFile users(m_dir.filePath("users"));
    if (!users.open(QIODevice::WriteOnly)) {
        return false;
    }
    users.write(QByteArray(kUser) + ":" + kPassword + "\n");
    users.close();
    for (int attempt = 0; attempt < 3; ++attempt) {
        m_port = freePort();
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start("radicale",
                        {"-C", "/dev/null", "-H", "127.0.0.1:" + QString::number(m_port),
                         "--auth-type", "htpasswd", "--auth-htpasswd-filename",
                         m_dir.filePath("users"), "--auth-htpasswd-encryption", "plain",
                         "--storage-filesystem-folder", m_dir.filePath("storage")});
        if (!m_process.waitForStarted(5000)) {
            return false;
        }
        const QDeadlineTimer deadline(15000);
        while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, m_port);
            if (probe.waitForConnected(200)) {
                return true;
            }
            QTest::qWait(50);
        }
        // Another test may have taken the port in between: try another one.
        stop();
    }
    return false;
}

void RadicaleServer::stop() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
}

QString RadicaleServer::addressBookUrl() const {
    return QString("http://127.0.0.1:%1/%2/contacts/").arg(m_port).arg(kUser);
}

QString RadicaleServer::log() const {
    return QString::fromUtf8(const_cast<QProcess&>(m_process).readAll());
}

int RadicaleServer::request(const QByteArray& verb, const QString& path, const QByteArray& body,
                            const QByteArray& contentType) const {
    QNetworkAccessManager network;
    QNetworkRequest request{QUrl(addressBookUrl() + path)};
    request.setRawHeader("Authorization",
                         "Basic " + (QByteArray(kUser) + ":" + kPassword).toBase64());
    request.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
    QNetworkReply* reply = network.sendCustomRequest(request, verb, body);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    reply->deleteLater();
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

bool RadicaleServer::createAddressBook() {
    const QByteArray body =
        "<?xml version=\"1.0\"?><D:mkcol xmlns:D=\"DAV:\" "
        "xmlns:C=\"urn:ietf:params:xml:ns:carddav\"><D:set><D:prop><D:resourcetype>"
        "<D:collection/><C:addressbook/></D:resourcetype></D:prop></D:set></D:mkcol>";
    return request("MKCOL", "", body, "application/xml") == 201;
}

bool RadicaleServer::putCard(const QString& name, const QByteArray& vcard) {
    const int status = request("PUT", name, vcard, "text/vcard");
    return status == 201 || status == 204;
}
