#include "ProgramRunner.h"

#include "stores/CallJournal.h"
#include "stores/LanguageIds.h"

#include <QFile>
#include <QStandardPaths>
#include <QTest>

#include <csignal>

namespace {

const char* kConnectResp = "-> CAPI_CONNECT - CAPI_RESP";
const char* kDisconnectReq = "-> CAPI_DISCONNECT - CAPI_REQ";
const char* kDisconnectResp = "-> CAPI_DISCONNECT - CAPI_RESP";
const char* kAlertReq = "-> CAPI_ALERT - CAPI_REQ";

std::string text(int id) {
    return ProgramRunner::englishText(id);
}

int indexOf(const QStringList& lines, const char* text) {
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].contains(text)) {
            return i;
        }
    }
    return -1;
}

} // namespace

class CallFlowTest : public QObject {
    Q_OBJECT
private:
    // Runs the program with the settings on the scenario until the transcript shows the given
    // number of DISCONNECT_RESP, then ends it with SIGTERM.
    void run(ProgramRunner& runner, const QStringList& settings, const QString& scenario,
             int disconnects) {
        runner.writeConfig(settings);
        QProcess* program = runner.start({"--headless", runner.scenario(scenario)});
        QVERIFY2(runner.waitForTranscript(kDisconnectResp, disconnects),
                 qPrintable(runner.transcript().join('\n') + program->readAllStandardError()));
        QCOMPARE(ProgramRunner::stop(program), 0);
    }

private slots:
    // The calls overlap and end in reverse order: each keeps its own end reason.
    void knownAndUnknownCallersWithTheirEndReasons() {
        ProgramRunner runner;
        runner.addPhonebookEntry("0301234567", "Erika Mustermann");
        run(runner, {},
            "wait 0.3\n"
            "call plci=0x101 called=4711 calling=301234567\n"
            "wait 0.2\n"
            "call plci=0x102 called=4711 calling=891234567\n"
            "wait 0.2\n"
            "hangup plci=0x102 reason=0x349A\n"
            "wait 0.2\n"
            "hangup plci=0x101\n",
            2);
        const CallJournal journal = runner.journal();
        QCOMPARE(journal.size(), 2);
        QCOMPARE(journal.recordAt(1).name, std::string("Erika Mustermann"));
        QCOMPARE(journal.recordAt(1).endReason, text(lang_id::kEndCallerHungUp));
        QCOMPARE(journal.recordAt(2).number, std::string("0891234567"));
        QCOMPARE(journal.recordAt(2).name, std::string("0891234567"));
        QCOMPARE(journal.recordAt(2).endReason, text(lang_id::kEndAnsweredElsewhere));
        QVERIFY(indexOf(runner.transcript(), kConnectResp) < 0);
    }

    void withheldCallerIsTurnedAwayOnceWhenSeveralRulesMatch() {
        ProgramRunner runner;
        runner.addMsn("4711", "Fax", true, true);
        // A CONNECT_IND without parameters offers no call and leaves no record.
        run(runner, {"RejectAnonymous=-1"},
            "wait 0.3\n"
            "raw 08 00 01 00 02 82 00 00\n"
            "call plci=0x201 called=4711 calling= octet3=0x00 octet3a=0xA0\n",
            1);
        const QStringList lines = runner.transcript();
        const int accept = indexOf(lines, kConnectResp);
        const int clear = indexOf(lines, kDisconnectReq);
        QVERIFY2(accept >= 0 && clear > accept, qPrintable(lines.join('\n')));
        QCOMPARE(lines.filter(kConnectResp).size(), 1);
        QCOMPARE(lines.filter(kDisconnectReq).size(), 1);
        QVERIFY(indexOf(lines, kAlertReq) >= 0);
        const CallJournal journal = runner.journal();
        QCOMPARE(journal.size(), 1);
        std::string anonymous = text(lang_id::kUnknown);
        std::erase(anonymous, ' ');
        QCOMPARE(journal.recordAt(1).number, anonymous);
        QVERIFY(!journal.recordAt(1).endReason.empty());
    }

    // The program is killed at each write, flush and cut of calls.txt in turn while a call
    // rings and ends: every record that was on disk stays there, whole.
    void aKillAtAnyStepOfSavingACallLosesNoRecord() {
        const QString strace = QStandardPaths::findExecutable("strace");
        if (strace.isEmpty()) {
            QSKIP("strace is not installed");
        }
        const QByteArray old = "0301111\tA\t1\t01.01.24\t10:00:00\tNormal\tSprache\r\n"
                               "0301112\tB\t1\t01.01.24\t10:01:00\tNormal\tSprache\r\n";
        const char* fileCalls =
            "write,pwrite64,fsync,fdatasync,ftruncate,rename,renameat,renameat2";
        bool survived = false;
        for (int step = 1; step <= 12 && !survived; ++step) {
            ProgramRunner runner;
            runner.writeConfig({});
            QFile calls(runner.configDir() + "calls.txt");
            QVERIFY(calls.open(QIODevice::WriteOnly) && calls.write(old) == old.size());
            calls.close();
            runner.runUnder({strace, "-f", "-qq", "-o", "/dev/null", "-P", calls.fileName(), "-e",
                             QString("trace=") + fileCalls, "-e",
                             QString("inject=%1:signal=SIGKILL:when=%2").arg(fileCalls).arg(step)});
            QProcess* program =
                runner.start({"--headless",
                              runner.scenario("wait 0.3\ncall plci=0x701 called=1 "
                                              "calling=301234567\nwait 0.3\nhangup plci=0x701\n")});
            const auto ended = [&runner]() {
                return !runner.journal().recordAt(3).endReason.empty();
            };
            if (!QTest::qWaitFor(
                    [&]() { return program->state() == QProcess::NotRunning || ended(); }, 15000)) {
                QFAIL(qPrintable(QString("step %1: neither killed nor done").arg(step)));
            }
            if (program->state() != QProcess::NotRunning) {
                survived = true; // no step left to kill at: end it in order
                QFile lock(runner.configDir() + "rufwacht.lock");
                QVERIFY(lock.open(QIODevice::ReadOnly));
                ::kill(lock.readAll().trimmed().toInt(), SIGTERM);
                QVERIFY(program->waitForFinished(10000));
            }
            QFile after(runner.configDir() + "calls.txt");
            QVERIFY(after.open(QIODevice::ReadOnly));
            const QByteArray bytes = after.readAll();
            QVERIFY2(bytes.startsWith(old), qPrintable(QString("step %1").arg(step)));
            // Once the ringing call's line was written (from the second step on), it stays.
            const CallJournal journal = runner.journal();
            QCOMPARE(journal.size(), step == 1 ? 2 : 3);
            if (step > 1) {
                QCOMPARE(journal.recordAt(3).number, std::string("0301234567"));
            }
        }
        QVERIFY(survived);
    }

    void sigtermWhileACallRingsKeepsItsRecord() {
        ProgramRunner runner;
        runner.writeConfig({});
        QProcess* program = runner.start(
            {"--headless",
             runner.scenario("wait 0.3\ncall plci=0x701 called=1 calling=301234567\n")});
        QVERIFY(runner.waitForTranscript(kAlertReq));
        QCOMPARE(ProgramRunner::stop(program), 0);
        const CallJournal journal = runner.journal();
        QCOMPARE(journal.size(), 1);
        QCOMPARE(journal.recordAt(1).number, std::string("0301234567"));
        QCOMPARE(journal.recordAt(1).endReason, text(lang_id::kUnknown));
    }
};

QTEST_GUILESS_MAIN(CallFlowTest)
#include "CallFlowTest.moc"
