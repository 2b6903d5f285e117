#include "ProgramRunner.h"
#include "VirtualDesktop.h"

#include "stores/CallJournal.h"
#include "stores/LanguageIds.h"
#include "stores/Phonebook.h"

#include <QTest>

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
        Phonebook phonebook;
        phonebook.load((runner.configDir() + "nn.dat").toStdString());
        phonebook.add("0301234567", "Erika Mustermann", false, "", "");

        QProcess* program =
            runner.start({runner.scenario("wait 1\n"
                                          "call plci=0x101 called=1 calling=301234567\n"
                                          "wait 1\n"
                                          "hangup plci=0x101\n"
                                          "wait 0.5\n"
                                          "call plci=0x102 called=1 calling=891234567\n")});
        QVERIFY(runner.waitForTranscript("CAPI_ALERT - CAPI_REQ", 2));
        const QString popupTitle =
            QString::fromStdString(ProgramRunner::englishText(lang_id::kIncomingCallTitle));
        const QString journalTitle =
            QString::fromStdString(ProgramRunner::englishText(lang_id::kCallJournal));
        QTRY_COMPARE_WITH_TIMEOUT(desktop.visibleWindows(popupTitle), 1, 5000);
        // With a notification area the journal window stays hidden until asked for.
        QCOMPARE(desktop.visibleWindows(journalTitle), 0);

        program->terminate();
        QVERIFY(program->waitForFinished(10000));
        QCOMPARE(program->exitCode(), 0);
        CallJournal journal;
        journal.load((runner.configDir() + "calls.txt").toStdString());
        QCOMPARE(journal.size(), 2);
        QCOMPARE(journal.recordAt(1).name, std::string("Erika Mustermann"));
        QCOMPARE(journal.recordAt(1).endReason,
                 ProgramRunner::englishText(lang_id::kEndCallerHungUp));
        QCOMPARE(journal.recordAt(2).number, std::string("0891234567"));
    }

    void withoutANotificationAreaTheJournalWindowStaysReachable() {
        if (!VirtualDesktop::toolsPresent()) {
            QSKIP("Xvfb, trayer or xdotool missing");
        }
        VirtualDesktop desktop;
        QVERIFY(desktop.start(false));
        ProgramRunner runner;
        runner.showOn(desktop.display());
        runner.writeConfig({});
        QProcess* program = runner.start({runner.scenario("")});
        QVERIFY(ProgramRunner::waitForFile(runner.configDir() + "calls.txt"));
        const QString journalTitle =
            QString::fromStdString(ProgramRunner::englishText(lang_id::kCallJournal));
        // Minimised into the task bar rather than hidden into a notification area that is not
        // there (without a window manager a minimised window still shows).
        QTRY_COMPARE_WITH_TIMEOUT(desktop.visibleWindows(journalTitle), 1, 5000);
        program->terminate();
        QVERIFY(program->waitForFinished(10000));
        QCOMPARE(program->exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(DesktopTest)
#include "DesktopTest.moc"
