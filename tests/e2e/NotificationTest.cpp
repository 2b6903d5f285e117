#include "ProgramRunner.h"
#include "SessionBus.h"
#include "VirtualDesktop.h"

#include "stores/CallJournal.h"
#include "stores/LanguageIds.h"

#include <QStandardPaths>
#include <QTcpServer>
#include <QTest>

namespace {

const char* kConnectResp = "-> CAPI_CONNECT - CAPI_RESP";
const char* kAlertReq = "-> CAPI_ALERT - CAPI_REQ";

QString english(int id) {
    return ProgramRunner::english(id);
}

int missedLogLines(const ProgramRunner& runner, int count) {
    return runner.log().count(english(lang_id::kMissedCallsLine) + " " + QString::number(count));
}

} // namespace

// The program on the simulated line, with a notification server on a session bus of the test's
// own: what the server is asked, and what its actions do on the line.
class NotificationTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        if (!PrivateSessionBus::toolPresent()) {
            QSKIP("dbus-daemon missing");
        }
        m_bus = std::make_unique<PrivateSessionBus>();
        QVERIFY(m_bus->start());
        m_runner = std::make_unique<ProgramRunner>();
        m_runner->setEnvironment("DBUS_SESSION_BUS_ADDRESS", m_bus->address());
    }
    void cleanup() {
        m_server.reset();
        m_runner.reset();
        m_bus.reset();
    }

    void oneNotificationPerCallReplacedClosedAndActedOn() {
        m_server = std::make_unique<RecordingNotificationServer>(
            m_bus->connect("server"), QStringList{"actions", "body", "body-markup"});
        QVERIFY(m_server->registerOnBus());
        ProgramRunner& runner = *m_runner;
        runner.writeConfig({"notify=desktop", "popupsmall=-1"});
        // A picture that is not there gives the program's icon; one that is, itself.
        runner.addPhonebookEntry("0301234567", "Erika <i>Mustermann</i>", false, "missing.png");
        runner.addPhonebookEntry("0401234567", "Hans", false, "res/phonered.ico");
        runner.addMsn("1", "Home & <Office>", false, false);

        QProcess* program =
            runner.start({runner.scenario("wait 1\n"
                                          "call plci=0x101 called=1 calling=301234567\n"
                                          "wait 1\n"
                                          "hangup plci=0x101\n"
                                          "wait 0.5\n"
                                          "call plci=0x102 called=1 calling=891234567\n"
                                          "wait 1\n"
                                          "hangup plci=0x102 reason=0x349a\n"
                                          "wait 0.5\n"
                                          "call plci=0x103 called=1 calling=401234567\n"
                                          "wait 60\n")});
        const auto& shown = m_server->notifications();
        QTRY_VERIFY2_WITH_TIMEOUT(shown.size() >= 4,
                                  qPrintable(QString("%1 notifications; %2")
                                                 .arg(shown.size())
                                                 .arg(QString(program->readAllStandardError()))),
                                  20000);
        // The ringing call: the caller as text, the body escaped for the server's markup, the
        // three actions besides the click on it.
        QCOMPARE(shown[0].replacesId, 0U);
        QCOMPARE(shown[0].summary, QString("Erika <i>Mustermann</i>"));
        QCOMPARE(shown[0].body, QString("0301234567\nBerlin\nHome &amp; &lt;Office&gt;"));
        QVERIFY2(shown[0].actions.contains(english(lang_id::kTurnAway)),
                 qPrintable(shown[0].actions.join('|')));
        QVERIFY(shown[0].actions.contains(english(lang_id::kLookUp)));
        QVERIFY(shown[0].actions.contains("default"));
        QCOMPARE(shown[0].hints.value("image-path").toString(),
                 runner.appDir() + "res/phoneblack.ico");
        // Nobody answered: the same notification says so, and stays.
        QCOMPARE(shown[1].replacesId, shown[0].id);
        QCOMPARE(shown[1].summary, english(lang_id::kMissedCall));
        QVERIFY(shown[1].body.startsWith("Erika &lt;i&gt;Mustermann&lt;/i&gt;\n0301234567"));
        QCOMPARE(shown[1].hints.value("resident").toBool(), true);
        QCOMPARE(shown[1].timeout, 0);
        QVERIFY(!shown[1].actions.contains(english(lang_id::kTurnAway)));
        // Answered elsewhere: closed.
        QCOMPARE(shown[2].replacesId, 0U);
        QCOMPARE(shown[2].summary, QString("0891234567"));
        QVERIFY(shown[2].actions.contains(english(lang_id::kAddToPhonebook)));
        QTRY_VERIFY(std::count(m_server->closed().begin(), m_server->closed().end(), shown[2].id) ==
                    1);
        // "Turn away" on the third call: one rejection on the line, however often pressed.
        QCOMPARE(shown[3].summary, QString("Hans"));
        QCOMPARE(shown[3].hints.value("image-path").toString(),
                 runner.appDir() + "res/phonered.ico");
        QVERIFY(runner.waitForTranscript(kAlertReq, 3));
        m_server->invokeAction(shown[3].id, "turnaway");
        m_server->invokeAction(shown[3].id, "turnaway");
        QVERIFY(runner.waitForTranscript(kConnectResp));
        QTRY_VERIFY(std::count(m_server->closed().begin(), m_server->closed().end(), shown[3].id) ==
                    1);
        QCOMPARE(runner.transcript().filter(kConnectResp).size(), 1);
        QCOMPARE(shown.size(), 4U);
        QCOMPARE(ProgramRunner::stop(program), 0);
        QCOMPARE(missedLogLines(runner, 1), 1);

        // The missed call is still not seen after a restart; a click on a notification is.
        program = runner.start({runner.scenario("wait 0.5\n"
                                                "call plci=0x104 called=1 calling=301234567\n"
                                                "wait 0.5\n"
                                                "hangup plci=0x104\n"
                                                "wait 60\n")});
        QTRY_COMPARE_WITH_TIMEOUT(missedLogLines(runner, 2), 1, 15000);
        QCOMPARE(missedLogLines(runner, 1), 2); // once more at the start
        QTRY_VERIFY(shown.size() >= 6);
        const QString seenBefore = runner.configValue("missedseen");
        QVERIFY(!seenBefore.isEmpty());
        m_server->invokeAction(shown[5].id, "default");
        // The missed call is seen: its notification goes.
        QTRY_VERIFY(std::count(m_server->closed().begin(), m_server->closed().end(), shown[5].id) ==
                    1);
        QTRY_VERIFY_WITH_TIMEOUT(runner.configValue("missedseen") != seenBefore, 10000);
        QCOMPARE(ProgramRunner::stop(program), 0);
        // Seen before the restart: the next start counts nothing.
        program = runner.start({runner.scenario("wait 0.2\n"
                                                "call plci=0x105 called=1 calling=301234567\n")});
        QVERIFY(runner.waitForTranscript(kAlertReq, 5));
        QCOMPARE(ProgramRunner::stop(program), 0);
        QCOMPARE(missedLogLines(runner, 2), 1);
        QCOMPARE(missedLogLines(runner, 1), 2);
    }

    void aServerThatGoesAwayCostsOnlyItsNotification() {
        m_server = std::make_unique<RecordingNotificationServer>(m_bus->connect("server"),
                                                                 QStringList{"body"});
        QVERIFY(m_server->registerOnBus());
        ProgramRunner& runner = *m_runner;
        runner.writeConfig({"notify=desktop"});
        QProcess* program =
            runner.start({runner.scenario("wait 1\n"
                                          "call plci=0x101 called=1 calling=301234567\n"
                                          "wait 2\n"
                                          "hangup plci=0x101\n"
                                          "wait 2\n"
                                          "call plci=0x102 called=1 calling=891234567\n"
                                          "wait 60\n")});
        QTRY_COMPARE_WITH_TIMEOUT(m_server->notifications().size(), std::size_t{1}, 15000);
        QVERIFY(m_server->unregisterFromBus());
        // The call ends and is journaled while nobody shows notifications.
        QVERIFY(runner.waitForTranscript("CAPI_DISCONNECT - CAPI_RESP"));
        QVERIFY(m_server->registerOnBus());
        QTRY_COMPARE_WITH_TIMEOUT(m_server->notifications().size(), std::size_t{2}, 15000);
        QCOMPARE(m_server->notifications()[1].summary, QString("0891234567"));
        QCOMPARE(ProgramRunner::stop(program), 0);
        QCOMPARE(runner.journal().size(), 2);
    }

    void headlessTheCountIsInTheLogAndAboveTheWebPagesTable() {
        ProgramRunner& runner = *m_runner;
        QTcpServer probe; // a port free a moment ago, as a 16-bit signed setting takes it
        quint16 port = 0;
        for (quint16 candidate = 23456; candidate < 32000 && port == 0; candidate += 7) {
            port = probe.listen(QHostAddress::LocalHost, candidate) ? candidate : 0;
        }
        probe.close();
        runner.writeConfig({"webexporton=-1", QStringLiteral("webexportport=%1").arg(port)});
        QProcess* program = runner.start(
            {"--headless", runner.scenario("wait 0.5\n"
                                           "call plci=0x101 called=1 calling=301234567\n"
                                           "wait 0.5\n"
                                           "hangup plci=0x101\n")});
        QTRY_COMPARE_WITH_TIMEOUT(missedLogLines(runner, 1), 1, 15000);
        QProcess curl;
        curl.start("curl",
                   {"-s", "--max-time", "10",
                    QStringLiteral("http://localhost:%1/index.html&pwd=brindle").arg(port)});
        QVERIFY(curl.waitForFinished(15000));
        const QByteArray page = curl.readAllStandardOutput();
        const qsizetype line = page.indexOf(english(lang_id::kMissedCallsLine).toLatin1() + " 1");
        QVERIFY2(line > 0 && line < page.indexOf("<table>"), page.left(1200));
        QCOMPARE(ProgramRunner::stop(program), 0);
    }

    void withoutANotificationServerThePopUpStandsIn() {
        if (!VirtualDesktop::toolsPresent()) {
            QSKIP("Xvfb, trayer or xdotool missing");
        }
        VirtualDesktop desktop;
        QVERIFY(desktop.start(false));
        ProgramRunner& runner = *m_runner;
        runner.showOn(desktop.display());
        runner.writeConfig({"notify=desktop", "popupsmall=-1"});
        QProcess* program =
            runner.start({runner.scenario("wait 1\n"
                                          "call plci=0x101 called=1 calling=301234567\n"
                                          "wait 0.5\n"
                                          "hangup plci=0x101\n")});
        QVERIFY(runner.waitForTranscript("CAPI_DISCONNECT - CAPI_RESP"));
        QTRY_COMPARE_WITH_TIMEOUT(desktop.visibleWindows(english(lang_id::kIncomingCallTitle)), 1,
                                  5000);
        // Nobody has looked at the journal window: its title counts the missed call.
        QTRY_COMPARE_WITH_TIMEOUT(desktop.visibleWindows(english(lang_id::kCallJournal) + " - 1 " +
                                                         english(lang_id::kMissedSuffix)),
                                  1, 5000);
        QCOMPARE(ProgramRunner::stop(program), 0);
        QCOMPARE(runner.journal().size(), 1);
        QCOMPARE(runner.journal().recordAt(1).endReason,
                 ProgramRunner::englishText(lang_id::kEndCallerHungUp));
    }

    void runsAsAWaylandClient() {
        if (QStandardPaths::findExecutable("weston").isEmpty()) {
            QSKIP("weston missing");
        }
        ProgramRunner& runner = *m_runner;
        const QString runtimeDir = runner.runtimeDir();
        const QString socket =
            QStringLiteral("rufwacht-test-%1").arg(QCoreApplication::applicationPid());
        QProcess weston;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", runtimeDir);
        weston.setProcessEnvironment(environment);
        weston.start("weston",
                     {"--backend=headless-backend.so", "--socket=" + socket, "--idle-time=0"});
        QVERIFY(weston.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(runtimeDir + "/" + socket), 10000);

        runner.setEnvironment("DISPLAY", "");
        runner.setEnvironment("QT_QPA_PLATFORM", "wayland");
        runner.setEnvironment("WAYLAND_DISPLAY", socket);
        runner.setEnvironment("WAYLAND_DEBUG", "client");
        // The Wayland client libraries keep memory to the end; the program's own leaks are
        // found by every other test of a sanitizer build.
        if (const QByteArray asan = qgetenv("ASAN_OPTIONS"); !asan.isEmpty()) {
            runner.setEnvironment("ASAN_OPTIONS", QString::fromLatin1(asan) + ":detect_leaks=0");
        }
        m_server = std::make_unique<RecordingNotificationServer>(m_bus->connect("server"),
                                                                 QStringList{"actions", "body"});
        QVERIFY(m_server->registerOnBus());
        runner.writeConfig({"popupsmall=-1"});
        QProcess* program =
            runner.start({runner.scenario("wait 1\n"
                                          "call plci=0x101 called=1 calling=301234567\n"
                                          "wait 0.5\n"
                                          "hangup plci=0x101\n"
                                          "wait 60\n")});
        // On Wayland the desktop's notifications announce the call, by default.
        QTRY_VERIFY_WITH_TIMEOUT(m_server->notifications().size() >= 2, 20000);
        QCOMPARE(m_server->notifications()[1].summary, english(lang_id::kMissedCall));
        // A click on it shows the journal window, as a window of the compositor's.
        m_server->invokeAction(m_server->notifications()[1].id, "default");
        QByteArray trace;
        QTRY_VERIFY_WITH_TIMEOUT(
            (trace += program->readAllStandardError())
                .contains(("set_title(\"" + english(lang_id::kCallJournal)).toUtf8()),
            10000);
        QVERIFY(program->state() == QProcess::Running);
        QCOMPARE(ProgramRunner::stop(program), 0);
        QCOMPARE(runner.journal().size(), 1);
        weston.terminate();
        weston.waitForFinished(5000);
    }

private:
    std::unique_ptr<PrivateSessionBus> m_bus;
    std::unique_ptr<ProgramRunner> m_runner;
    std::unique_ptr<RecordingNotificationServer> m_server;
};

QTEST_GUILESS_MAIN(NotificationTest)
#include "NotificationTest.moc"
