#include "ProgramRunner.h"
#include "VirtualDesktop.h"

#include "stores/CallJournal.h"
#include "stores/LanguageIds.h"

#include <QTest>

// Without a notification area the journal window stays on the screen: the settings dialog's
// end-to-end test starts from there.
class DesktopTest : public QObject {
    Q_OBJECT
private slots:
    void incomingCallShowsThePopupWhileTheJournalWaitsInTheTray() {
        if (!VirtualDesktop::toolsPresent()) {
            QSKIP("Xvfb, trayer or xdotool missing");
        }
        VirtualDesktop desktop;
        QVERIFY(desktop.start());
        ProgramRunner runner;
        runner.showOn(desktop.display());
        runner.writeConfig({"popupsmall=-1", "TrayBlink=-1"});
        runner.addPhonebookEntry("0301234567", "Erika Mustermann");

        QProcess* program =
            runner.start({runner.scenario("wait 1\n"
                                          "call plci=0x101 called=1 calling=301234567\n"
                                          "wait 1\n"
                                          "hangup plci=0x101\n"
                                          "wait 0.5\n"
                                          "call plci=0x102 called=1 calling=891234567\n")});
        QVERIFY(runner.waitForTranscript("CAPI_ALERT - CAPI_REQ", 2));
        QTRY_COMPARE_WITH_TIMEOUT(
            desktop.visibleWindows(ProgramRunner::english(lang_id::kIncomingCallTitle)), 1, 5000);
        // With a notification area the journal window stays hidden until asked for.
        QCOMPARE(desktop.visibleWindows(ProgramRunner::english(lang_id::kCallJournal)), 0);

        QCOMPARE(ProgramRunner::stop(program), 0);
        const CallJournal journal = runner.journal();
        QCOMPARE(journal.size(), 2);
        QCOMPARE(journal.recordAt(1).name, std::string("Erika Mustermann"));
    }
};

QTEST_GUILESS_MAIN(DesktopTest)
#include "DesktopTest.moc"
