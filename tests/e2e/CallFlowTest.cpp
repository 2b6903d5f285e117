#include "../contacts/RadicaleServer.h"
#include "ProgramRunner.h"

#include "stores/CallJournal.h"
#include "stores/LanguageIds.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTest>

#include <csignal>

class CallFlowTest : public QObject {
    Q_OBJECT
private slots:
    // The calls overlap and end in reverse order: each keeps its own end reason; one still
    // rings when the program ends and keeps its record. A withheld caller is turned away once
    // although several rules match; a CONNECT_IND without parameters offers no call and leaves
    // no record. A command that is not there is logged once, however many calls come, and so
    // is a web export port in use; the calls go on, also when the reader of the print-out has
    // gone after its first byte.
    void callsWithTheirEndReasonsRejectionsAndAMissingCommand() {
        ProgramRunner runner;
        runner.addPhonebookEntry("0301234567", "Erika Mustermann");
        runner.addMsn("4712", "Fax", true, true);
        QTcpServer holder;
        QVERIFY(holder.listen(QHostAddress::Any, ProgramRunner::freePort()));
        runner.writeConfig({"oncall=/nonexistent/announce --loud", "RejectAnonymous=-1",
                            "webexporton=-1",
                            QStringLiteral("webexportport=%1").arg(holder.serverPort())});
        QProcess head;
        QProcess* program = runner.start(
            {"--headless",
             runner.scenario("wait 0.3; raw 08 00 01 00 02 82 00 00; "
                             "call plci=0x101 called=4711 calling=301234567; wait 0.2; "
                             "call plci=0x102 called=4711 calling=891234567; wait 0.2; "
                             "hangup plci=0x102 reason=0x349A; wait 0.2; hangup plci=0x101; "
                             "call plci=0x103 called=4711 calling=401234567; wait 0.2; "
                             "call plci=0x201 called=4712 calling= octet3=0x00 octet3a=0xA0")},
            &head);
        head.start("head", {"-c", "1"});
        QVERIFY2(runner.waitForTranscript(kDisconnectResp, 3),
                 qPrintable(runner.transcript().join('\n') + program->readAllStandardError()));
        QCOMPARE(ProgramRunner::stop(program), 0);
        const QStringList lines = runner.transcript();
        QCOMPARE(lines.filter(kAlertReq).size(), 4);
        QCOMPARE(lines.filter(kConnectResp).size(), 1);
        QCOMPARE(lines.filter(kDisconnectReq).size(), 1);
        const CallJournal journal = runner.journal();
        QCOMPARE(journal.size(), 4);
        QCOMPARE(journal.recordAt(1).name, std::string("Erika Mustermann"));
        QCOMPARE(journal.recordAt(1).endReason, englishText(lang_id::kEndCallerHungUp));
        QCOMPARE(journal.recordAt(2).number, std::string("0891234567"));
        QCOMPARE(journal.recordAt(2).name, std::string("0891234567"));
        QCOMPARE(journal.recordAt(2).endReason, englishText(lang_id::kEndAnsweredElsewhere));
        QCOMPARE(journal.recordAt(3).number, std::string("0401234567"));
        QCOMPARE(journal.recordAt(3).endReason, englishText(lang_id::kUnknown));
        std::string anonymous = englishText(lang_id::kUnknown);
        std::erase(anonymous, ' ');
        QCOMPARE(journal.recordAt(4).number, anonymous);
        QVERIFY(!journal.recordAt(4).endReason.empty());
        const QString log = runner.log();
        QCOMPARE(log.count("oncall"), 1);
        QVERIFY2(log.contains("/nonexistent/announce cannot be started"), qPrintable(log));
        QCOMPARE(log.count(" - ERROR: sckWeb Error ("), 1);
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
            runner.writeFile("calls.txt", old);
            runner.runUnder({strace, "-f", "-qq", "-o", "/dev/null", "-P",
                             runner.configDir() + "calls.txt", "-e", QString("trace=") + fileCalls,
                             "-e",
                             QString("inject=%1:signal=SIGKILL:when=%2").arg(fileCalls).arg(step)});
            QProcess* program =
                runner.startHeadless("wait 0.3; call plci=0x701 called=1 calling=301234567; wait "
                                     "0.3; hangup plci=0x701");
            const auto ended = [&runner]() {
                return !runner.journal().recordAt(3).endReason.empty();
            };
            if (!QTest::qWaitFor(
                    [&]() { return program->state() == QProcess::NotRunning || ended(); }, 15000)) {
                QFAIL(qPrintable(QString("step %1: neither killed nor done").arg(step)));
            }
            if (program->state() != QProcess::NotRunning) {
                survived = true; // no step left to kill at: end it in order
                ::kill(runner.readFile("rufwacht.lock").trimmed().toInt(), SIGTERM);
                QVERIFY(program->waitForFinished(10000));
            }
            QVERIFY2(runner.readFile("calls.txt").startsWith(old),
                     qPrintable(QString("step %1").arg(step)));
            // Once the ringing call's line was written (from the second step on), it stays.
            const CallJournal journal = runner.journal();
            QCOMPARE(journal.size(), step == 1 ? 2 : 3);
            if (step > 1) {
                QCOMPARE(journal.recordAt(3).number, std::string("0301234567"));
            }
        }
        QVERIFY(survived);
    }

    // A contact stored as +49 30 1234567 on a CardDAV server names a call from 030 1234567;
    // with the server gone, the kept copy still does.
    void cardDavContactNamesTheCallerAlsoWithoutTheServer() {
        if (!RadicaleServer::isInstalled()) {
            QSKIP("radicale is not installed");
        }
        RadicaleServer server;
        QVERIFY2(server.start(), qPrintable(server.log()));
        QVERIFY(server.createAddressBook());
        QVERIFY(server.putCard("erika.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:erika\r\n"
                                            "FN:Erika Mustermann\r\nN:Mustermann;Erika;;;\r\n"
                                            "TEL;TYPE=HOME:+49 30 1234567\r\nEND:VCARD\r\n"));

        ProgramRunner runner;
        runner.writeConfig({"addressbook1=" + server.addressBookUrl(),
                            QString("addressbook1user=") + RadicaleServer::kUser,
                            QString("addressbook1password=") + RadicaleServer::kPassword});
        QProcess* first = runner.startHeadless("wait 60");
        // The address book's copy that the program keeps for starts without network.
        const auto keptCopies = [&runner]() {
            return QDir(runner.configDir()).entryList({"addressbook-*.xml"}, QDir::Files);
        };
        QTRY_COMPARE_WITH_TIMEOUT(keptCopies().size(), 1, 20000);
        QCOMPARE(ProgramRunner::stop(first), 0);
        server.stop();

        QProcess* second = runner.startHeadless(
            "wait 0.3; call plci=0x101 called=4711 calling=301234567; wait 0.2; hangup plci=0x101");
        QVERIFY2(runner.waitForTranscript(kDisconnectResp),
                 qPrintable(second->readAllStandardError()));
        QCOMPARE(ProgramRunner::stop(second), 0);
        const CallJournal journal = runner.journal();
        QCOMPARE(journal.size(), 1);
        QCOMPARE(journal.recordAt(1).number, std::string("0301234567"));
        QCOMPARE(journal.recordAt(1).name, std::string("Erika Mustermann"));
        // The server being away is logged, the phonebook file is left alone.
        QVERIFY2(runner.log().contains(english(lang_id::kAddressBookNoAnswer)),
                 qPrintable(runner.log()));
        QVERIFY(QFileInfo(runner.configDir() + "nn.dat").size() <= 2);
    }
};

QTEST_GUILESS_MAIN(CallFlowTest)
#include "CallFlowTest.moc"
