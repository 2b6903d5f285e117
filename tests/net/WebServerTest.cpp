#include "net/TestHttp.h"
#include "support/TestContext.h"

#include "calls/CallEvent.h"
#include "net/JournalPage.h"
#include "net/JournalWebServer.h"
#include "net/WebRequest.h"
#include "support/TextFile.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <memory>

namespace {

constexpr const char* kCalls =
    "0815\tAnna\t12345\t06.12.26\t09:15:00\tCaller hung up\tTelephony\r\n"
    "0711\t0711\tOffice\t06.12.26\t10:00:00\tAnswered\tTelephony\r\n"
    "0301\t0301\t12345\t07.12.26\t11:30:00\t\tTelephony\r\n";

QByteArray bytes(const std::string& text) {
    return QByteArray::fromStdString(text);
}

} // namespace

class WebServerTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_fixture = std::make_unique<TestContext>();
        m_fixture->settings().webExportPassword = "a b";
        QDir().mkpath(QString::fromStdString(m_fixture->dir.file("logs")));
        m_server = std::make_unique<JournalWebServer>(
            JournalWebServerParts::of(m_fixture->context),
            JournalWebServer::Limits{kIdleTime, kMaxConnections, kHeadTime});
        QVERIFY(m_server->start(0));
        QVERIFY(m_server->isRunning());
    }
    void cleanup() {
        m_server.reset();
        m_fixture.reset();
    }

    void repliesByRequest_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("statusLine");
        QTest::addColumn<bool>("withJournal");
        const QByteArray end = " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n";
        QTest::newRow("right") << "GET /index.html&pwd=a b" + end << QByteArray("200 OK") << true;
        QTest::newRow("wrong") << "GET /index.html&pwd=a c" + end << QByteArray("403 Forbidden")
                               << false;
        QTest::newRow("not http") << QByteArray("hello\r\n") << QByteArray("400 Bad Request")
                                  << false;
        QTest::newRow("oversize") << "GET /" + QByteArray(9000, 'x')
                                  << QByteArray("431 Request Header Fields Too Large") << false;
    }
    void repliesByRequest() {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, statusLine);
        QFETCH(bool, withJournal);
        m_fixture->dir.write("calls.txt", kCalls);
        const JournalPage page(m_fixture->context.language);
        const std::string body =
            withJournal
                ? page.journalPage(splitLines(kCalls), [](const std::string& n) { return n; })
                : page.wrongPasswordPage();
        TestClient client(m_server->port());
        const QByteArray reply = client.request(request);
        QCOMPARE(reply, "HTTP/1.1 " + statusLine +
                            bytes(webReplyHead(200, body.size()).substr(15)) + bytes(body));
    }

    void missingJournalGivesAnEmptyPageAndALogLine() {
        QVERIFY(QFile::remove(QString::fromStdString(m_fixture->dir.file("calls.txt"))));
        TestClient client(m_server->port());
        const QByteArray reply = client.request("GET /index.html&pwd=a b HTTP/1.1\r\n\r\n");
        QVERIFY(reply.startsWith("HTTP/1.1 200 OK\r\n"));
        QVERIFY(reply.contains(" </tr>\r\n\r\n\r\n</table>"));
        QVERIFY(!reply.contains("<tr valign='top'>"));
        const std::string log = m_fixture->dir.read("logs/rufwacht.log");
        QVERIFY2(log.find(" - ERROR: WebExport-calls.txt not found (53-File not found)\r\n") !=
                     std::string::npos,
                 log.c_str());
    }

    void silentClientBlocksNobodyAndIsDropped() {
        m_fixture->dir.write("calls.txt", kCalls);
        TestClient silent(m_server->port());
        QVERIFY(silent.waitConnected());
        silent.send("GET /index.html&pwd=a b HTTP/1.1\r\n"); // and never the end of the head
        std::vector<std::unique_ptr<TestClient>> others;
        for (int i = 0; i < kMaxConnections - 1; ++i) {
            others.push_back(std::make_unique<TestClient>(m_server->port()));
            others.back()->send("GET /index.html&pwd=a b HTTP/1.0\r\n\r\n");
        }
        for (auto& other : others) {
            QVERIFY(other->waitClosed());
            QVERIFY(other->received.startsWith("HTTP/1.1 200 OK"));
        }
        QCOMPARE(silent.socket.state(), QAbstractSocket::ConnectedState);
        QVERIFY(silent.waitClosed());
        QCOMPARE(silent.received, QByteArray());
        QTRY_COMPARE(m_server->connectionCount(), 0);
    }

    void silentConnectionsCannotLockTheOwnerOut() {
        // A head time far beyond the test's: only making room can let the owner in.
        m_server = std::make_unique<JournalWebServer>(
            JournalWebServerParts::of(m_fixture->context),
            JournalWebServer::Limits{kIdleTime, kMaxConnections, std::chrono::seconds(60)});
        QVERIFY(m_server->start(0));
        std::vector<std::unique_ptr<TestClient>> silent;
        for (int i = 0; i < kMaxConnections; ++i) {
            silent.push_back(std::make_unique<TestClient>(m_server->port()));
            QVERIFY(silent.back()->waitConnected());
            QTRY_COMPARE(m_server->connectionCount(), i + 1); // in this order
        }
        TestClient owner(m_server->port());
        owner.send("GET /index.html&pwd=a b HTTP/1.0\r\n\r\n");
        QVERIFY(owner.waitClosed());
        QVERIFY(owner.received.startsWith("HTTP/1.1 200 OK"));
        // The one silent longest made room; the others are left alone.
        QVERIFY(silent.front()->waitClosed());
        for (std::size_t i = 1; i < silent.size(); ++i) {
            QCOMPARE(silent[i]->socket.state(), QAbstractSocket::ConnectedState);
        }
        QCOMPARE(m_server->connectionCount(), kMaxConnections - 1);
    }

    void keepAliveServesRequestsInTurnOnOneConnection() {
        m_fixture->dir.write("calls.txt", kCalls);
        TestClient client(m_server->port());
        const QByteArray request = "GET /index.html&pwd=a b HTTP/1.1\r\nHost: x\r\n\r\n";
        client.send(request + request); // the second behind the first at once
        QTRY_COMPARE(client.received.count("HTTP/1.1 200 OK\r\n"), 2);
        QVERIFY(client.received.contains("Connection: keep-alive\r\n"));
        QVERIFY(client.received.endsWith("</html>"));
        client.send("GET /health HTTP/1.1\r\nConnection: close\r\n\r\n");
        QVERIFY(client.waitClosed());
        QVERIFY(client.received.contains("\r\n\r\n{\"line\":\"up\",\"since\":\""));
        // A kept connection that brings no further request is closed after the head time.
        TestClient idle(m_server->port());
        idle.send(request);
        QVERIFY(idle.waitClosed(kHeadTime.count() * 3));
        QCOMPARE(idle.received.count("HTTP/1.1 200 OK\r\n"), 1);
    }

    void slowListenerCostsOnlyItsOwnConnection() {
        CallEventStream events;
        m_server->followCalls(events);
        TestClient fast(m_server->port());
        TestClient slow(m_server->port());
        for (TestClient* listener : {&fast, &slow}) {
            listener->send("GET /events&pwd=a b HTTP/1.1\r\n\r\n");
            QTRY_VERIFY(listener->received.contains("text/event-stream"));
        }
        slow.socket.setReadBufferSize(1); // reads nothing more: the server's buffer fills
        slow.socket.disconnect();         // ... and nothing is taken from it
        CallEvent ring;
        ring.number = std::string(10000, '7');
        int sent = 0;
        while (m_server->connectionCount() == 2 && sent < 3000) {
            events.publish(ring);
            ++sent;
            QTest::qWait(1);
        }
        // (The slow client itself reads nothing more, so it cannot see the end.)
        QVERIFY2(m_server->connectionCount() == 1, "the listener that reads nothing stays");
        QTRY_COMPARE(fast.received.count("event: ring\n"), sent);
        QCOMPARE(fast.socket.state(), QAbstractSocket::ConnectedState);
    }

    void portInUseIsReported() {
        QTcpServer holder;
        QVERIFY(holder.listen(QHostAddress::Any, 0));
        QVERIFY(!m_server->start(holder.serverPort()));
        QVERIFY(!m_server->isRunning());
        const std::string port = std::to_string(holder.serverPort());
        QCOMPARE(m_server->lastError().substr(0, 20 + port.size()),
                 "Port unavailable: " + port + " (");
        QVERIFY(m_server->start(0));
        QCOMPARE(m_server->lastError(), std::string());
        m_server->stop();
        QVERIFY(!m_server->isRunning());
    }

private:
    static constexpr int kMaxConnections = 4;
    static constexpr std::chrono::milliseconds kIdleTime{1000};
    static constexpr std::chrono::milliseconds kHeadTime{500};
    std::unique_ptr<TestContext> m_fixture;
    std::unique_ptr<JournalWebServer> m_server;
};

QTEST_GUILESS_MAIN(WebServerTest)
#include "WebServerTest.moc"
