#include "ProgramRunner.h"

#include "stores/CallJournal.h"
#include "stores/LanguageIds.h"

#include <QFile>
#include <QTcpSocket>
#include <QTest>

namespace {

// Call n of the scenarios: its caller and its name in the reading program's phonebook.
std::string callerOf(int n) {
    return "030100" + std::to_string(1000 + n);
}
std::string nameOf(int n) {
    return "Caller " + std::to_string(n);
}
// Which call a journal record is, from its number; 0 for none of the scenario's.
int callNumberOf(const JournalRecord& record) {
    return record.number.starts_with("0301001") ? std::stoi(record.number.substr(7)) : 0;
}

// count calls, the first after a pause that leaves time to connect; every third call is
// answered elsewhere, the others are given up by the caller.
QString callScenario(int count, double pause) {
    QString text = "wait 3\n";
    for (int n = 1; n <= count; ++n) {
        const QString plci = QString::number((n << 8) | 1);
        text += "call plci=" + plci +
                " called=4711 calling=" + QString::fromStdString(callerOf(n)).mid(1) + "\nwait " +
                QString::number(pause) + "\nhangup plci=" + plci +
                (n % 3 == 0 ? " reason=0x349A" : "") + "\nwait " + QString::number(pause) + "\n";
    }
    return text;
}

} // namespace

class CallSharingTest : public QObject {
    Q_OBJECT
private slots:
    // A second program on the first one's call-monitor server journals every call with its own
    // phonebook's names. Killed and started again, it gets every call that rings after it is
    // back, none twice; what rang while it was down it cannot have heard.
    void secondProgramReadsEveryCallOfTheFirst() {
        const int calls = 200;
        const quint16 port = ProgramRunner::freePort();
        ProgramRunner serving;
        serving.writeConfig({"monitorserver=-1", QStringLiteral("monitorport=%1").arg(port)});
        ProgramRunner reading;
        for (int n = 1; n <= calls; ++n) {
            reading.addPhonebookEntry(callerOf(n), nameOf(n));
        }
        reading.addMsn("4711", "Office", false, false);
        const QStringList readerArguments = {
            "--headless", QStringLiteral("--line=callmonitor:127.0.0.1:%1").arg(port)};

        QProcess* server = serving.startHeadless(callScenario(calls, 0.03), {"--debug"});
        ProgramErrors serverOutput(server);
        QVERIFY2(serverOutput.waitFor("Call monitor server on port"),
                 qPrintable(serverOutput.text()));
        QProcess* reader = reading.start(readerArguments);
        QVERIFY2(serverOutput.waitFor("client 127.0.0.1 connected"),
                 qPrintable(serverOutput.text()));
        QVERIFY(QTest::qWaitFor([&]() { return reading.journal().size() >= 40; }, 30000));
        reader->kill();
        QVERIFY(reader->waitForFinished(5000));
        // Calls ring while it is away.
        const int heard = reading.journal().size();
        QVERIFY(QTest::qWaitFor([&]() { return serving.journal().size() >= heard + 5; }, 30000));
        reader = reading.start(readerArguments);
        QVERIFY2(serving.waitForTranscript(kDisconnectResp, calls, 60000),
                 qPrintable(serverOutput.text()));
        // The last call's end reaches the reader.
        QVERIFY(QTest::qWaitFor(
            [&]() {
                const CallJournal journal = reading.journal();
                return journal.size() > 0 &&
                       callNumberOf(journal.recordAt(journal.size())) == calls &&
                       !journal.recordAt(journal.size()).endReason.empty();
            },
            15000));
        QCOMPARE(ProgramRunner::stop(reader), 0);
        QCOMPARE(ProgramRunner::stop(server), 0);

        const CallJournal served = serving.journal();
        QCOMPARE(served.size(), calls);
        // Calls 1 to k before the kill, then m to the last after the restart, each once and
        // ending as on the serving side, but the one that rang when the reader was killed.
        const CallJournal read = reading.journal();
        int gaps = 0;
        int previous = 0;
        for (int i = 1; i <= read.size(); ++i) {
            const JournalRecord& record = read.recordAt(i);
            const int n = callNumberOf(record);
            QVERIFY2(n > previous, record.number.c_str());
            QCOMPARE(record.name, nameOf(n));
            QCOMPARE(record.msn, std::string("Office"));
            gaps += n == previous + 1 ? 0 : 1;
            if (i == read.size() || callNumberOf(read.recordAt(i + 1)) == n + 1) {
                QCOMPARE(record.endReason, served.recordAt(n).endReason);
            }
            previous = n;
        }
        QCOMPARE(gaps, 1);
        QCOMPARE(previous, calls);
    }

    // The command gets each call step in its environment; headless, the steps are printed.
    // The call-monitor server serves only the allowed address and logs a refused one once.
    void commandPrintOutAndTheAllowedClientFollowEveryCall() {
        ProgramRunner runner;
        const QString script = runner.appDir() + "on call.sh";
        const QString output = runner.appDir() + "steps out.txt";
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        // One file per step: the steps' commands run side by side.
        file.write("#!/bin/sh\n"
                   "env | grep '^RUFWACHT_' | sort > \"$1.$RUFWACHT_EVENT\"\n"
                   "echo \"heard $RUFWACHT_EVENT\"\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const quint16 port = ProgramRunner::freePort();
        runner.writeConfig({"oncall=\"" + script + "\" '" + output + "'", "monitorserver=-1",
                            QStringLiteral("monitorport=%1").arg(port), "monitorallow=127.0.0.2"});
        runner.addPhonebookEntry("0301234567", "Erika \"Eri\" Mustermann");
        runner.addMsn("4711", "Privat", false, false);
        QProcess* program =
            runner.startHeadless("wait 3; call plci=0x101 called=4711 calling=301234567; wait 0.2; "
                                 "hangup plci=0x101 reason=0x349A");
        // Until the server is up a connection fails; then one from 127.0.0.1 is closed at once.
        for (int attempt = 0; attempt < 2; ++attempt) {
            QTcpSocket refused;
            QVERIFY(QTest::qWaitFor(
                [&]() {
                    refused.connectToHost(QHostAddress::LocalHost, port);
                    return refused.waitForConnected(200);
                },
                15000));
            QVERIFY(refused.state() == QAbstractSocket::UnconnectedState ||
                    refused.waitForDisconnected(5000));
        }
        QTcpSocket allowed;
        QVERIFY(allowed.bind(QHostAddress("127.0.0.2")));
        allowed.connectToHost(QHostAddress("127.0.0.1"), port);
        QVERIFY(allowed.waitForConnected(5000));
        allowed.write("HELLO\r\n"); // what a client says is ignored
        QByteArray received;
        QVERIFY(QTest::qWaitFor(
            [&]() {
                allowed.waitForReadyRead(50);
                received += allowed.readAll();
                return received.contains(";RING;");
            },
            15000));
        QVERIFY2(received.contains(";RING;257;0301234567;4711;ISDN;\r\n"), received.constData());
        QVERIFY(runner.waitForTranscript(kDisconnectResp));
        QVERIFY(QTest::qWaitFor([&]() { return runner.log().count("heard") == 3; }, 15000));
        QCOMPARE(ProgramRunner::stop(program), 0);
        QCOMPARE(runner.log().count("connection from 127.0.0.1 refused"), 1);

        // One file per event, named by RUFWACHT_EVENT.
        for (const QString step : {"ring", "connect", "end"}) {
            QFile steps(output + "." + step);
            QVERIFY2(steps.open(QIODevice::ReadOnly), qPrintable(step));
            const QString run = QString::fromUtf8(steps.readAll());
            for (const char* line :
                 {"RUFWACHT_NUMBER=0301234567\n", "RUFWACHT_NAME=Erika \"Eri\" Mustermann\n",
                  "RUFWACHT_MSN=4711\nRUFWACHT_MSN_NAME=Privat\n", "RUFWACHT_MISSED=0\n",
                  "RUFWACHT_TIME=20"}) {
                QVERIFY2(run.contains(line), qPrintable(run));
            }
            if (step == "end") {
                QVERIFY2(run.contains("RUFWACHT_REASON=" + english(lang_id::kEndAnsweredElsewhere)),
                         qPrintable(run));
            }
        }

        const QString printed = QString::fromUtf8(program->readAllStandardOutput());
        const QStringList lines = printed.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines[0].contains("  RING  Erika \"Eri\" Mustermann (0301234567") &&
                     lines[0].endsWith(" for Privat") &&
                     lines[2].endsWith("  END   Erika \"Eri\" Mustermann: " +
                                       english(lang_id::kEndAnsweredElsewhere)),
                 qPrintable(printed));
    }
};

QTEST_GUILESS_MAIN(CallSharingTest)
#include "CallSharingTest.moc"
