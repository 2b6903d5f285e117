// The program on a virtual screen and with a notification server on a session bus of the
// test's own: what it shows, what the server is asked, and what their buttons and actions do.
#include "ProgramRunner.h"
#include "SessionBus.h"
#include "VirtualDesktop.h"

#include "stores/CallJournal.h"
#include "stores/LanguageIds.h"
#include "stores/Phonebook.h"

#include <QFile>
#include <QStandardPaths>
#include <QTest>

#include <cmath>

namespace {

int missedLogLines(const ProgramRunner& runner, int count) {
    return runner.log().count(english(lang_id::kMissedCallsLine) + " " + QString::number(count));
}

constexpr const char* kCallerNumber = "0301234567";
constexpr const char* kCallerName = "Erika Mustermann";

// The journal window is 8175 twips wide; its width on the screen gives the scale.
constexpr double kJournalWidthTwips = 8175.0;
// Centres of the options label and of the settings button in the opened panel, in twips.
const QPoint kOptionsLabel(7560 + 127, 2640 + 127);
const QPoint kSettingsButton(8055 - 4216 + 2400 + 787, 3720 + 120 + 187);

QPoint inPixels(QPoint twips, QSize journalWindow) {
    const double scale = journalWindow.width() / kJournalWidthTwips;
    return {static_cast<int>(std::lround(twips.x() * scale)),
            static_cast<int>(std::lround(twips.y() * scale))};
}

// The same caller rings every two seconds for a few minutes, so that whatever moment the
// phonebook entry lands, a later call shows it.
QString ringingAgainAndAgain() {
    QString commands;
    for (int call = 1; call <= 90; ++call) {
        const QString plci = "0x" + QString::number(call * 0x100 + 1, 16);
        commands += "wait 2\ncall plci=" + plci + " called=1 calling=301234567\n";
        commands += "wait 0.5\nhangup plci=" + plci + "\n";
    }
    return commands;
}

} // namespace

class DesktopTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        if (!PrivateSessionBus::toolPresent()) {
            QSKIP("dbus-daemon missing"); // it carries the notifications
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

    void aPhonebookEntryAddedInTheDialogNamesTheNextCall() {
        if (!VirtualDesktop::toolsPresent() || QStandardPaths::findExecutable("xwd").isEmpty()) {
            QSKIP("Xvfb, trayer, xdotool or xwd missing");
        }
        VirtualDesktop desktop;
        // Without a notification area the journal window stays on the screen.
        QVERIFY(desktop.start(false));
        ProgramRunner& runner = *m_runner;
        runner.showOn(desktop.display());
        runner.writeConfig({"audiofeedback=-1"});
        QProcess* program = runner.start({runner.scenario(ringingAgainAndAgain())});

        // A loaded machine (the sanitizer build, tests side by side) may take its time to start.
        QString journal;
        QTRY_VERIFY2_WITH_TIMEOUT(
            !(journal = desktop.findWindow(english(lang_id::kCallJournal))).isEmpty(),
            qPrintable(program->readAllStandardError()), 30000);
        // The start's load sound came through the sound module.
        QFile maps(QString("/proc/%1/maps").arg(program->processId()));
        QVERIFY(maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/rufwacht-sound.so"));
        const QSize shortWindow = desktop.windowSize(journal);
        QVERIFY(shortWindow.isValid());
        desktop.click(journal, inPixels(kOptionsLabel, shortWindow));
        // The window grows, then the panel slides in; while it moves, other buttons pass the
        // settings button's place.
        QTRY_VERIFY_WITH_TIMEOUT(desktop.windowSize(journal).height() > shortWindow.height(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(desktop.isStill(journal), 15000);
        desktop.click(journal, inPixels(kSettingsButton, shortWindow));
        QString dialog;
        QTRY_VERIFY_WITH_TIMEOUT(
            !(dialog = desktop.findWindow(english(lang_id::kSettings))).isEmpty(), 5000);

        // The dialog opens on the phonebook with the focus on the navigation tree; then come
        // the list, number, name, reject box, sound, its button, picture, its button and Add.
        desktop.focus(dialog);
        desktop.keys({"Tab", "Tab"});
        desktop.type(kCallerNumber);
        desktop.keys({"Tab"});
        desktop.type(kCallerName);
        desktop.keys({"Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "space"});
        Phonebook phonebook;
        QTRY_VERIFY_WITH_TIMEOUT((phonebook.load((runner.configDir() + "nn.dat").toStdString()),
                                  phonebook.nameOf(kCallerNumber) == kCallerName),
                                 5000);
        // Cancel keeps what the list buttons did.
        desktop.keys({"Escape"});
        QTRY_COMPARE_WITH_TIMEOUT(desktop.visibleWindows(english(lang_id::kSettings)), 0, 5000);

        // A call after the entry landed is journaled with the name.
        QTRY_VERIFY_WITH_TIMEOUT(runner.journal().size() > 0 &&
                                     runner.journal().recordAt(runner.journal().size()).name ==
                                         kCallerName,
                                 20000);
        QCOMPARE(ProgramRunner::stop(program), 0);
    }

    void oneNotificationPerCallReplacedClosedAndActedOn() {
        QVERIFY(serve(QStringList{"actions", "body", "body-markup"}));
        ProgramRunner& runner = *m_runner;
        runner.writeConfig({"notify=desktop", "popupsmall=-1"});
        // A picture that is not there gives the program's icon; one that is, itself.
        runner.addPhonebookEntry("0301234567", "Erika <i>Mustermann</i>", false, "missing.png");
        runner.addPhonebookEntry("0401234567", "Hans", false, "res/phonered.ico");
        runner.addMsn("1", "Home & <Office>", false, false);

        QProcess* program = runner.start({runner.scenario(
            "wait 1; call plci=0x101 called=1 calling=301234567; wait 1; hangup plci=0x101; "
            "wait 0.5; call plci=0x102 called=1 calling=891234567; wait 1; "
            "hangup plci=0x102 reason=0x349a; wait 0.5; "
            "call plci=0x103 called=1 calling=401234567; wait 60")});
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
        QTRY_COMPARE(closings(shown[2].id), 1);
        // "Turn away" on the third call: one rejection on the line, however often pressed.
        QCOMPARE(shown[3].summary, QString("Hans"));
        QCOMPARE(shown[3].hints.value("image-path").toString(),
                 runner.appDir() + "res/phonered.ico");
        QVERIFY(runner.waitForTranscript(kAlertReq, 3));
        m_server->invokeAction(shown[3].id, "turnaway");
        m_server->invokeAction(shown[3].id, "turnaway");
        QVERIFY(runner.waitForTranscript(kConnectResp));
        QTRY_COMPARE(closings(shown[3].id), 1);
        QCOMPARE(runner.transcript().filter(kConnectResp).size(), 1);
        QCOMPARE(shown.size(), 4U);
        QCOMPARE(ProgramRunner::stop(program), 0);
        QCOMPARE(missedLogLines(runner, 1), 1);

        // The missed call is still not seen after a restart; a click on a notification is.
        program = runner.start({runner.scenario(
            "wait 0.5; call plci=0x104 called=1 calling=301234567; wait 0.5; hangup plci=0x104; "
            "wait 5; call plci=0x105 called=1 calling=891234567; wait 0.5; "
            "hangup plci=0x105 reason=0x349a; wait 3; call plci=0x106 called=1 calling=401234567; "
            "wait 2; hangup plci=0x106 reason=0x349a; wait 60")});
        QTRY_COMPARE_WITH_TIMEOUT(missedLogLines(runner, 2), 1, 15000);
        QCOMPARE(missedLogLines(runner, 1), 2); // once more at the start
        QTRY_VERIFY(shown.size() >= 6);
        const QString seenBefore = runner.configValue("missedseen");
        QVERIFY(!seenBefore.isEmpty());
        m_server->invokeAction(shown[5].id, "default");
        // The missed call is seen: its notification goes.
        QTRY_COMPARE(closings(shown[5].id), 1);
        QTRY_VERIFY_WITH_TIMEOUT(runner.configValue("missedseen") != seenBefore, 10000);
        // A server that goes away costs only its notification: the call is journaled while
        // nobody shows notifications, and the next is shown again.
        QVERIFY(m_server->unregisterFromBus());
        QVERIFY(runner.waitForTranscript(kDisconnectResp, 5));
        QVERIFY(m_server->registerOnBus());
        QTRY_COMPARE_WITH_TIMEOUT(shown.back().summary, QString("Hans"), 15000);
        QCOMPARE(shown.size(), 7U);
        QCOMPARE(ProgramRunner::stop(program), 0);
        QCOMPARE(runner.journal().size(), 6);
        // Seen before the restart: the next start counts nothing.
        program =
            runner.start({runner.scenario("wait 0.2; call plci=0x107 called=1 calling=301234567")});
        QVERIFY(runner.waitForTranscript(kAlertReq, 7));
        QCOMPARE(ProgramRunner::stop(program), 0);
        QCOMPARE(missedLogLines(runner, 2), 1);
        QCOMPARE(missedLogLines(runner, 1), 2);
    }

    // Without a notification server the pop-up stands in. With a notification area the journal
    // window waits there; without one it stays on the screen, and as nobody has looked at it,
    // its title counts the missed call.
    void withoutANotificationServerThePopUpStandsIn_data() {
        QTest::addColumn<bool>("tray");
        QTest::newRow("notification area") << true;
        QTest::newRow("none") << false;
    }
    void withoutANotificationServerThePopUpStandsIn() {
        QFETCH(bool, tray);
        if (!VirtualDesktop::toolsPresent()) {
            QSKIP("Xvfb, trayer or xdotool missing");
        }
        VirtualDesktop desktop;
        QVERIFY(desktop.start(tray));
        ProgramRunner& runner = *m_runner;
        runner.showOn(desktop.display());
        runner.writeConfig({"notify=desktop", "popupsmall=-1"});
        QProcess* program = runner.start(
            {runner.scenario("wait 1; call plci=0x101 called=1 calling=301234567; wait 0.5; "
                             "hangup plci=0x101")});
        QVERIFY(runner.waitForTranscript(kDisconnectResp));
        QTRY_COMPARE_WITH_TIMEOUT(desktop.visibleWindows(english(lang_id::kIncomingCallTitle)), 1,
                                  5000);
        const QString journal = english(lang_id::kCallJournal);
        const QString counted = journal + " - 1 " + english(lang_id::kMissedSuffix);
        QTRY_COMPARE_WITH_TIMEOUT(desktop.visibleWindows(counted), tray ? 0 : 1, 5000);
        QCOMPARE(desktop.visibleWindows(journal), 0);
        QCOMPARE(ProgramRunner::stop(program), 0);
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
        QVERIFY(serve(QStringList{"actions", "body"}));
        runner.writeConfig({"popupsmall=-1"});
        QProcess* program = runner.start(
            {runner.scenario("wait 1; call plci=0x101 called=1 calling=301234567; wait 0.5; "
                             "hangup plci=0x101; wait 60")});
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
        weston.terminate();
        weston.waitForFinished(5000);
    }

private:
    bool serve(const QStringList& capabilities) {
        m_server =
            std::make_unique<RecordingNotificationServer>(m_bus->connect("server"), capabilities);
        return m_server->registerOnBus();
    }
    long closings(uint id) const { return std::ranges::count(m_server->closed(), id); }

    std::unique_ptr<PrivateSessionBus> m_bus;
    std::unique_ptr<ProgramRunner> m_runner;
    std::unique_ptr<RecordingNotificationServer> m_server;
};

QTEST_GUILESS_MAIN(DesktopTest)
#include "DesktopTest.moc"
