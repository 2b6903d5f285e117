#include "net/TestHttp.h"
#include "support/ScriptedPrompt.h"
#include "support/SmallDisk.h"
#include "support/TempDir.h"

#include "net/Downloader.h"
#include "net/ProductInfo.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// The size limit of the tests' downloads.
constexpr qint64 kLimit = 64 * 1024;

// Body bytes that include 0 and 255.
QByteArray bodyOf(int size) {
    QByteArray body(size, '\0');
    for (int i = 0; i < size; ++i) {
        body[i] = static_cast<char>(i * 7 % 256);
    }
    return body;
}

} // namespace

class DownloaderTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_dir = std::make_unique<TempDir>();
        m_prompt = ScriptedPrompt();
        m_downloader = std::make_unique<Downloader>(m_prompt);
        m_downloader->setLimits(kLimit, 10000);
        m_progress = std::make_unique<QSignalSpy>(m_downloader.get(), &Downloader::progress);
        m_finished = std::make_unique<QSignalSpy>(m_downloader.get(), &Downloader::finished);
    }

    void addressesSplitAsBefore_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("path");
        const char* const rows[][4] = {
            {"http", "http://updates.example/files/version.txt", "updates.example",
             "/files/version.txt"},
            {"capitals", "HTTP://updates.example/files/version.txt", "updates.example",
             "/files/version.txt"},
            {"host only", "http://updates.example", "updates.example", "/"},
            {"no scheme", "updates.example/files/version.txt", "updates.example",
             "/files/version.txt"},
            {"https", "https://updates.example/f", "updates.example", "/f"},
            {"ftp", "ftp://updates.example/f", "", ""},
            {"empty", "", "", ""}};
        for (const auto& row : rows) {
            QTest::newRow(row[0]) << QString(row[1]) << QString(row[2]) << QString(row[3]);
        }
    }
    void addressesSplitAsBefore() {
        QFETCH(QString, text);
        QFETCH(QString, host);
        QFETCH(QString, path);
        const QUrl url = Downloader::addressFrom(text);
        QCOMPARE(url.isValid(), !host.isEmpty());
        QCOMPARE(url.host(), host);
        QCOMPARE(url.path(), path);
    }

    void requestNamesHostPathAndProgram() {
        m_server.serve("/files/version.txt", TestHttpServer::ok("2.0.0"));
        QVERIFY(m_downloader->start(m_server.url("/files/version.txt").replace("http", "HTTP"),
                                    file()));
        QVERIFY(m_finished->wait());
        const QByteArray head = m_server.heads.last();
        QVERIFY2(head.startsWith("GET /files/version.txt HTTP/1.1\r\n"), head);
        QVERIFY(head.contains("\r\nHost: 127.0.0.1:" + QByteArray::number(m_server.port())));
        QVERIFY(head.contains(QByteArray("\r\nUser-Agent: Rufwacht/1.0.0 (") + kProductWebAddress +
                              ")\r\n"));
        QCOMPARE(fileBytes(file()), QByteArray("2.0.0"));
    }

    void piecesArriveAsProgress() {
        QSignalSpy started(m_downloader.get(), &Downloader::started);
        QVERIFY(m_downloader->start(m_server.url("/setup"), file()));
        QTcpSocket* socket = m_server.nextRequest();
        QVERIFY(socket);
        QVERIFY(started.count() == 1 || started.wait());
        const QByteArray body = bodyOf(350);
        socket->write("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n");
        int sent = 0;
        for (const int piece : {100, 200, 50}) {
            socket->write(body.mid(sent, piece));
            sent += piece;
            QTRY_COMPARE(m_progress->count() > 0 ? m_progress->last().at(0).toLongLong() : 0,
                         qint64(sent));
        }
        socket->disconnectFromHost();
        QVERIFY(m_finished->wait());
        QCOMPARE(outcome(), Downloader::Outcome::Completed);
        QCOMPARE(m_progress->count(), 3);
        for (const auto& event : *m_progress) {
            QCOMPARE(event.at(1).toLongLong(), qint64(0)); // no Content-Length
        }
        QCOMPARE(fileBytes(file()), body);
    }

    void bodiesOfEveryKindGiveTheFile_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<qint64>("fileSize");
        const QByteArray body = bodyOf(1234);
        QTest::newRow("Content-Length") << TestHttpServer::ok(body) << body << qint64(1234);
        QTest::newRow("chunked") << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n"
                                               "\r\n4d2\r\n") +
                                        body + "\r\n0\r\n\r\n"
                                 << body << qint64(0);
        m_server.serve("/moved", TestHttpServer::ok("after the move"));
        QTest::newRow("redirect")
            << QByteArray("HTTP/1.1 302 Found\r\nLocation: /moved\r\nContent-Length: 0\r\n\r\n")
            << QByteArray("after the move") << qint64(14);
    }
    void bodiesOfEveryKindGiveTheFile() {
        QFETCH(QByteArray, reply);
        QFETCH(QByteArray, body);
        QFETCH(qint64, fileSize);
        QVERIFY(download(reply));
        QCOMPARE(outcome(), Downloader::Outcome::Completed);
        QCOMPARE(fileBytes(file()), body);
        QCOMPARE(m_progress->last().at(0).toLongLong(), qint64(body.size()));
        QCOMPARE(m_progress->last().at(1).toLongLong(), fileSize);
    }

    void failuresEndWithAnErrorAndNoFile_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("error");
        QTest::newRow("404") << QByteArray("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\n"
                                           "not found")
                             << "HTTP 404 Not Found";
        QTest::newRow("dropped mid-body")
            << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n") + bodyOf(400)
            << QString();
        QTest::newRow("no reply") << QByteArray() << QString();
        const QString tooLong = QStringLiteral("The server sent more than %1 bytes").arg(kLimit);
        QTest::newRow("endless plain body")
            << QByteArray("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n") + bodyOf(3 * kLimit)
            << tooLong;
        QTest::newRow("endless chunked body")
            << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n30000\r\n") +
                   bodyOf(3 * kLimit) + "\r\n0\r\n\r\n"
            << tooLong;
        QTest::newRow("announced beyond the limit")
            << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 196608\r\n\r\n") + bodyOf(3 * kLimit)
            << tooLong;
    }
    void failuresEndWithAnErrorAndNoFile() {
        QFETCH(QByteArray, reply);
        QFETCH(QString, error);
        QVERIFY(download(reply));
        QCOMPARE(outcome(), Downloader::Outcome::Failed);
        const QString text = m_finished->last().at(1).toString();
        QVERIFY(!text.isEmpty());
        if (!error.isEmpty()) {
            QCOMPARE(text, error);
        }
        QVERIFY(!QFile::exists(file()));
        QCOMPARE(QDir(folder()).entryList(QDir::Files), QStringList());
    }

    void aDownloadEndsAtItsDeadline() {
        m_downloader->setLimits(kLimit, 300);
        QVERIFY(m_downloader->start(m_server.url("/slow"), file()));
        QTcpSocket* socket = m_server.nextRequest();
        QVERIFY(socket);
        socket->write("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\nfirst bytes");
        QVERIFY(m_finished->wait());
        QCOMPARE(outcome(), Downloader::Outcome::Failed);
        QCOMPARE(m_finished->last().at(1).toString(),
                 QString("The download did not finish within 0.3 s"));
        QVERIFY(!QFile::exists(file()));
    }

    void aFullDiskEndsTheDownloadAtOnce() {
        SmallDisk disk(256);
        if (!disk.isMounted()) {
            QSKIP("a small file system of its own needs the right to mount");
        }
        m_server.serve("/file", TestHttpServer::ok(bodyOf(60000)));
        disk.fill();
        const QString target = QString::fromStdString(disk.file("setup.bin"));
        QVERIFY(m_downloader->start(m_server.url("/file"), target) && m_finished->wait());
        QCOMPARE(outcome(), Downloader::Outcome::Failed);
        QVERIFY(m_progress->isEmpty());
        QVERIFY(!QFile::exists(target));
    }

    void refusedConnectionEndsWithAnError() {
        quint16 closedPort = 0;
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
            closedPort = probe.serverPort();
        }
        QVERIFY(
            m_downloader->start(QStringLiteral("http://127.0.0.1:%1/x").arg(closedPort), file()));
        QVERIFY(m_finished->wait());
        QCOMPARE(outcome(), Downloader::Outcome::Failed);
    }

    // A wrong digest is the update window's test; here: capitals match too.
    void aDigestInCapitalsMatches() {
        const QByteArray body = bodyOf(500);
        const QByteArray right = QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex();
        QVERIFY(download(TestHttpServer::ok(body), right.toUpper()));
        QCOMPARE(outcome(), Downloader::Outcome::Completed);
        QCOMPARE(fileBytes(file()), body);
    }

    void oldFileGoesAtStartAndAbortEndsSilently() {
        QFile old(file());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        QVERIFY(m_downloader->start(m_server.url("/slow"), file()));
        QVERIFY(!QFile::exists(file()));
        QTcpSocket* socket = m_server.nextRequest();
        QVERIFY(socket);
        socket->write("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + bodyOf(100));
        QVERIFY(m_progress->wait());
        m_downloader->abort();
        socket->write(bodyOf(900));
        const QPointer<QTcpSocket> closing(socket);
        socket->disconnectFromHost();
        // The server deletes a socket once it is disconnected.
        QTRY_VERIFY(closing.isNull() || closing->state() == QAbstractSocket::UnconnectedState);
        // That no signal comes is the point: a while of silence is all there is to wait for.
        QVERIFY(!m_finished->wait(300));
        QCOMPARE(QDir(folder()).entryList(QDir::Files), QStringList());
    }

    void unusableAddressOrFileIsRefusedWithAMessage_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("localFile");
        QTest::newRow("address") << "ftp://x/y" << QString();
        QTest::newRow("folder missing") << QString() << "/no/such/folder/file";
    }
    void unusableAddressOrFileIsRefusedWithAMessage() {
        QFETCH(QString, address);
        QFETCH(QString, localFile);
        QVERIFY(!m_downloader->start(address.isEmpty() ? m_server.url("/x") : address,
                                     localFile.isEmpty() ? file() : localFile));
        QCOMPARE(m_prompt.shown.size(), std::size_t(1));
        QCOMPARE(m_prompt.shown[0].text.substr(0, 16), std::string("Fehler!\r\nError: "));
        QCOMPARE(m_prompt.shown[0].icon, PromptIcon::Critical);
        QVERIFY(!m_finished->wait(100)); // nor a late signal
    }

private:
    // Serves the reply at /file and downloads it; false when the download never ended.
    bool download(const QByteArray& reply, const QByteArray& digest = {}) {
        m_server.serve("/file", reply);
        return m_downloader->start(m_server.url("/file"), file(), digest) && m_finished->wait();
    }
    QString folder() const { return QString::fromStdString(m_dir->path()); }
    QString file() const { return folder() + "download.bin"; }
    Downloader::Outcome outcome() const {
        return m_finished->last().at(0).value<Downloader::Outcome>();
    }

    TestHttpServer m_server;
    std::unique_ptr<TempDir> m_dir;
    ScriptedPrompt m_prompt;
    std::unique_ptr<Downloader> m_downloader;
    std::unique_ptr<QSignalSpy> m_progress;
    std::unique_ptr<QSignalSpy> m_finished;
};

QTEST_GUILESS_MAIN(DownloaderTest)
#include "DownloaderTest.moc"
