// The journal as a web page and as JSON, the call events and the line's health, through the
// real program on the simulated line.
#include "ProgramRunner.h"

#include "stores/LanguageIds.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>
#include <QTest>

#include <vector>

namespace {

struct Reply {
    int status = 0;
    QByteArray body;
};

// One request on its own connection; the reply read up to its length.
Reply get(quint16 port, const QByteArray& target) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(5000)) {
        return {};
    }
    socket.write("GET " + target + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    QByteArray received;
    while (socket.waitForReadyRead(10000) || socket.bytesAvailable() > 0) {
        received += socket.readAll();
    }
    received += socket.readAll();
    const qsizetype headEnd = received.indexOf("\r\n\r\n");
    return {received.mid(9, 3).toInt(), headEnd < 0 ? QByteArray() : received.mid(headEnd + 4)};
}

// A listener of /events that notes when each event arrived.
class EventListener : public QObject {
public:
    EventListener(quint16 port, const QByteArray& password) {
        // Each event's data is one line.
        connect(&m_socket, &QTcpSocket::readyRead, this, [this]() {
            while (m_socket.canReadLine()) {
                const QByteArray line = m_socket.readLine();
                m_streaming = m_streaming || line.contains("text/event-stream");
                if (line.startsWith("data: ")) {
                    events.push_back({QJsonDocument::fromJson(line.mid(6)).object(),
                                      QDateTime::currentDateTime()});
                }
            }
        });
        m_socket.connectToHost(QHostAddress::LocalHost, port);
        m_socket.write("GET /events&pwd=" + password + " HTTP/1.1\r\n\r\n");
    }
    bool waitStreaming() {
        return QTest::qWaitFor([this]() { return m_streaming; }, 10000);
    }
    struct Event {
        QJsonObject call;
        QDateTime arrived;
    };
    std::vector<Event> events;

private:
    QTcpSocket m_socket;
    bool m_streaming = false;
};

} // namespace

class WebFeedTest : public QObject {
    Q_OBJECT
private slots:
    void pageJsonEventsAndHealthFollowTheLine() {
        ProgramRunner runner;
        const quint16 port = ProgramRunner::freePort();
        // Settings are Windows-1252: the password is "Gäste 1", sent as a browser does, in
        // UTF-8, percent-encoded.
        runner.writeConfig({"webexporton=-1", QStringLiteral("webexportport=%1").arg(port),
                            "webexportpwd=Gäste 1"});
        const QByteArray pwd = "G%C3%A4ste%201";
        // Windows-1252 on disk: quotes, a backslash, a control byte and an umlaut in names.
        runner.writeFile("calls.txt", "0815\tM\xFCller \"Mo\" C:\\x\x01\t4711\t06.12.26\t09:15:00\t"
                                      "Answered\tTelephony\r\n"
                                      "0816\tAnna <A>\t12345\t06.12.26\t09:16:00\tAnswered\t"
                                      "Telephony\r\n");
        QProcess* program = runner.startHeadless("wait 3; call plci=0x101 called=4711 "
                                                 "calling=301234567; wait 0.5; hangup plci=0x101; "
                                                 "wait 3; call plci=0x102 called=1 calling=302; "
                                                 "wait 0.3; drop; wait 4; restore; "
                                                 "call plci=0x103 called=1 calling=303; wait 0.3; "
                                                 "hangup plci=0x103");
        QVERIFY(QTest::qWaitFor([port]() { return get(port, "/health").status == 200; }, 15000));
        EventListener listener(port, pwd);
        QVERIFY(listener.waitStreaming());

        // A ring and an end, each at the listener within 100 ms of the step.
        QVERIFY(QTest::qWaitFor([&listener]() { return listener.events.size() >= 2; }, 15000));
        const auto& ring = listener.events[0];
        const auto& end = listener.events[1];
        QCOMPARE(ring.call["event"].toString(), "ring");
        QCOMPARE(ring.call["number"].toString(), "0301234567");
        QCOMPARE(end.call["event"].toString(), "end");
        QCOMPARE(end.call["missed"].toBool(), true);
        for (const auto& event : {ring, end}) {
            const QDateTime stepped =
                QDateTime::fromString(event.call["time"].toString(), Qt::ISODateWithMs);
            QVERIFY2(stepped.isValid(), qPrintable(event.call["time"].toString()));
            QVERIFY2(stepped.msecsTo(event.arrived) <= 100,
                     qPrintable(QString::number(stepped.msecsTo(event.arrived))));
        }

        // The JSON is the journal, read as Windows-1252, newest first.
        QVERIFY(QTest::qWaitFor([&runner]() { return runner.journal().size() == 3; }, 5000));
        const QJsonArray array =
            QJsonDocument::fromJson(get(port, "/calls.json?pwd=" + pwd).body).array();
        QCOMPARE(array.size(), 3);
        QCOMPARE(array[0].toObject()["number"].toString(), "0301234567");
        QCOMPARE(array[0].toObject()["missed"].toBool(), true);
        QCOMPARE(array[2].toObject()["name"].toString(), QString("M\u00fcller \"Mo\" C:\\x\x01"));
        QCOMPARE(QJsonDocument::fromJson(get(port, "/calls.json&pwd=" + pwd + "&limit=1").body)
                     .array()
                     .size(),
                 1);
        const Reply refused = get(port, "/calls.json&pwd=guess");
        QCOMPARE(refused.status, 403);
        QVERIFY(QJsonDocument::fromJson(refused.body).object().contains("error"));

        // The page: the missed call's count is in the log and above the table.
        const QString missed = english(lang_id::kMissedCallsLine) + " 1";
        QTRY_COMPARE_WITH_TIMEOUT(runner.log().count(missed), 1, 15000);
        const Reply page = get(port, "/index.html&pwd=" + pwd);
        QCOMPARE(page.status, 200);
        const qsizetype line = page.body.indexOf(missed.toLatin1());
        QVERIFY2(line > 0 && line < page.body.indexOf("<table>"), page.body.left(1200));

        // The line drops during a call, which ends unknown, and comes back for the next.
        QVERIFY(QTest::qWaitFor([port]() { return get(port, "/health").status == 503; }, 15000));
        QVERIFY(QTest::qWaitFor([port]() { return get(port, "/health").status == 200; }, 30000));
        QTRY_VERIFY_WITH_TIMEOUT(runner.journal().size() == 5 &&
                                     runner.journal().recordAt(5).endReason ==
                                         englishText(lang_id::kEndCallerHungUp),
                                 15000);
        QCOMPARE(runner.journal().recordAt(4).endReason, englishText(lang_id::kUnknown));
        QCOMPARE(QJsonDocument::fromJson(get(port, "/health").body).object()["calls"].toInt(), 3);
        QCOMPARE(ProgramRunner::stop(program), 0);
    }
};

QTEST_GUILESS_MAIN(WebFeedTest)
#include "WebFeedTest.moc"
