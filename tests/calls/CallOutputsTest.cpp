#include "calls/CallEvent.h"
#include "outputs/AddressAllowList.h"
#include "outputs/CallCommandRunner.h"
#include "outputs/CallMonitorServer.h"
#include "stores/Settings.h"
#include "support/Log.h"
#include "support/TempDir.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>

class CallOutputsTest : public QObject {
    Q_OBJECT
private slots:
    void allowListMatchesAddressesAndNetworks_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("allowed");
        const QString standard = kDefaultMonitorAllow;
        QTest::newRow("loopback") << standard << "127.0.0.1" << true;
        QTest::newRow("loopback v6") << standard << "::1" << true;
        QTest::newRow("home network") << standard << "192.168.178.20" << true;
        QTest::newRow("172.16/12 inside") << standard << "172.31.255.1" << true;
        QTest::newRow("172.16/12 outside") << standard << "172.32.0.1" << false;
        QTest::newRow("ipv4 through a v6 socket") << standard << "::ffff:10.1.2.3" << true;
        QTest::newRow("internet through a v6 socket") << standard << "::ffff:8.8.8.8" << false;
        QTest::newRow("unique local v6") << standard << "fd12:3456::1" << true;
        QTest::newRow("internet v6") << standard << "2001:db8::1" << false;
        QTest::newRow("internet") << standard << "8.8.8.8" << false;
        QTest::newRow("one address") << "127.0.0.2"
                                     << "127.0.0.2" << true;
        QTest::newRow("its neighbour") << "127.0.0.2"
                                       << "127.0.0.1" << false;
        QTest::newRow("commas") << "10.0.0.1,10.0.0.2"
                                << "10.0.0.2" << true;
        QTest::newRow("empty list") << ""
                                    << "127.0.0.1" << false;
    }
    void allowListMatchesAddressesAndNetworks() {
        QFETCH(QString, list);
        QFETCH(QString, address);
        QFETCH(bool, allowed);
        QCOMPARE(AddressAllowList(list).allows(QHostAddress(address)), allowed);
    }

    void allowListNamesWhatItCannotRead() {
        QStringList bad;
        const AddressAllowList list("192.168.0.0/16 fritz.box 10.0.0.0/33 ::1", &bad);
        QCOMPARE(bad, QStringList({"fritz.box", "10.0.0.0/33"}));
        QVERIFY(list.allows(QHostAddress("::1")));
    }

    // A client that stops reading is dropped when it falls behind; the one that reads gets
    // every line.
    void clientThatFallsBehindIsDropped() {
        TempDir dir;
        const Log log(dir.file("rufwacht.log"));
        CallMonitorServer server(log);
        QVERIFY(server.start(0, AddressAllowList("127.0.0.1")));
        QTcpSocket reading;
        QTcpSocket stalled;
        stalled.setReadBufferSize(1);
        stalled.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
        for (QTcpSocket* client : {&reading, &stalled}) {
            client->connectToHost(QHostAddress::LocalHost, server.port());
            QVERIFY(client->waitForConnected(5000));
        }
        QTRY_COMPARE(server.clientCount(), 2);
        CallEvent event;
        event.number = std::string(40, '1');
        qsizetype published = 0;
        qsizetype read = 0;
        QElapsedTimer clock;
        clock.start();
        while (server.clientCount() == 2 && clock.elapsed() < 20000) {
            server.publish(event);
            ++published;
            QCoreApplication::processEvents();
            read += reading.readAll().count(";RING;");
        }
        QCOMPARE(server.clientCount(), 1);
        QVERIFY(QString::fromStdString(dir.read("rufwacht.log")).contains("fell behind"));
        QVERIFY(published * 60 > CallMonitorServer::kMaxBehindBytes);
        QTRY_COMPARE((read += reading.readAll().count(";RING;")), published);
    }

    // The limits are the production ones except the time: a command that hangs is ended, the
    // next step runs, and the hang is logged once while it lasts.
    void hangingCommandsAreEndedAndLoggedOnce() {
        TempDir dir;
        const Log log(dir.file("rufwacht.log"));
        SettingsRecord settings;
        settings.onCallCommand = "sleep 60";
        CallCommandRunner runner(settings, log, {300, 4, 32});
        QSignalSpy ended(&runner, &CallCommandRunner::runEnded);
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 6; ++i) {
            runner.publish(CallEvent{});
        }
        QCOMPARE(runner.runningCount(), 4);
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 6, 5000);
        // Two rounds of at most four at once, each ended after 300 ms.
        QVERIFY2(clock.elapsed() >= 600 && clock.elapsed() < 4000,
                 qPrintable(QString::number(clock.elapsed())));
        const QString text = QString::fromStdString(dir.read("rufwacht.log"));
        QCOMPARE(text.count("oncall"), 1);
        QVERIFY2(text.contains("sleep ended after 0.3 s"), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(CallOutputsTest)
#include "CallOutputsTest.moc"
