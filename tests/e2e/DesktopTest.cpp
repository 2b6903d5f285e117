#include "ProgramRunner.h"

#include "stores/CallJournal.h"
#include "stores/LanguageIds.h"
#include "stores/Phonebook.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

namespace {

// A virtual screen with a notification area, for as long as the test runs.
class VirtualDesktop {
public:
    ~VirtualDesktop() {
        for (QProcess* process : {&m_trayHost, &m_server}) {
            process->terminate();
            process->waitForFinished(3000);
        }
    }

    static bool toolsPresent() {
        for (const char* tool : {"Xvfb", "trayer", "xdotool"}) {
            if (QStandardPaths::findExecutable(tool).isEmpty()) {
                return false;
            }
        }
        return true;
    }

    bool start(bool withNotificationArea = true) {
        // Xvfb picks a free display and writes its number to the descriptor given.
        m_server.start("Xvfb",
                       {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        const QDeadlineTimer deadline(10000);
        QByteArray number;
        while (!number.contains('\n') && !deadline.hasExpired()) {
            m_server.waitForReadyRead(100);
            number += m_server.readAllStandardOutput();
        }
        if (!number.contains('\n')) {
            return false;
        }
        m_display = ":" + QString::fromLatin1(number.trimmed());
        if (!withNotificationArea) {
            return true;
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DISPLAY", m_display);
        m_trayHost.setProcessEnvironment(environment);
        m_trayHost.start("trayer", {"--edge", "bottom", "--align", "right", "--widthtype",
                                    "request", "--height", "24"});
        // Still running after a moment: the notification area is up.
        return m_trayHost.waitForStarted(5000) && !m_trayHost.waitForFinished(500);
    }

    const QString& display() const { return m_display; }

    /// The visible windows whose title is exactly the text.
    int visibleWindows(const QString& title) const {
        QProcess search;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DISPLAY", m_display);
        search.setProcessEnvironment(environment);
        search.start("xdotool", {"search", "--onlyvisible", "--name",
                                 "^" + QRegularExpression::escape(title) + "$"});
        search.waitForFinished(5000);
        return QString::fromUtf8(search.readAllStandardOutput())
            .split('\n', Qt::SkipEmptyParts)
            .size();
    }

private:
    QProcess m_server;
    QProcess m_trayHost;
    QString m_display;
};

} // namespace

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
        runner.setEnvironment("QT_QPA_PLATFORM", "");
        runner.setEnvironment("DISPLAY", desktop.display());
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
        runner.setEnvironment("QT_QPA_PLATFORM", "");
        runner.setEnvironment("DISPLAY", desktop.display());
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
