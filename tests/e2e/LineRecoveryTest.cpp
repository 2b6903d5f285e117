#include "FakeRemoteCapi.h"
#include "ProgramRunner.h"

#include "stores/LanguageIds.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <dlfcn.h>

namespace {

constexpr int kReconnectWaitMs = 15000;

std::string text(int id) {
    return ProgramRunner::englishText(id);
}

// Ends the program with SIGTERM, checks that it ended cleanly and gives its stderr.
QString finish(QProcess* program) {
    const int exitCode = ProgramRunner::stop(program);
    return exitCode == 0 ? QString::fromUtf8(program->readAllStandardError())
                         : QString("exit code %1").arg(exitCode);
}

} // namespace

class LineRecoveryTest : public QObject {
    Q_OBJECT
private slots:
    void simulatedLineDroppedAndRestored() {
        ProgramRunner runner;
        runner.writeConfig({});
        QProcess* program = runner.start({"--headless", "--debug",
                                          runner.scenario("wait 0.3\n"
                                                          "call plci=0x101 called=1 calling=301\n"
                                                          "wait 0.3\n"
                                                          "drop\n"
                                                          "wait 0.3\n"
                                                          "restore\n"
                                                          "call plci=0x102 called=1 calling=302\n"
                                                          "wait 0.3\n"
                                                          "hangup plci=0x102\n")});
        QVERIFY2(runner.waitForTranscript("-> CAPI_DISCONNECT - CAPI_RESP", 1, kReconnectWaitMs),
                 qPrintable(runner.transcript().join('\n')));
        const QString errors = finish(program);
        const CallJournal journal = runner.journal();
        QCOMPARE(journal.size(), 2);
        QCOMPARE(journal.recordAt(1).endReason, text(lang_id::kUnknown));
        QCOMPARE(journal.recordAt(2).endReason, text(lang_id::kEndCallerHungUp));
        QCOMPARE(errors.count("LINE LOST"), 1);
        QCOMPARE(errors.count("LINE BACK"), 1);
        QCOMPARE(runner.log().count("Line lost at"), 1);
    }

    void systemLibraryAgainstARemoteCapiThatRestarts() {
        if (void* library = dlopen("libcapi20.so.3", RTLD_NOW)) {
            dlclose(library);
        } else {
            QSKIP("libcapi20.so.3 (Debian libcapi20-3) is not installed");
        }
        FakeRemoteCapi router;
        QVERIFY(router.listen());
        const quint16 port = router.port();
        ProgramRunner runner;
        runner.writeConfig({});
        QDir().mkpath(runner.appDir() + "../home");
        QFile rc(runner.appDir() + "../home/.capi20rc");
        QVERIFY(rc.open(QIODevice::WriteOnly));
        rc.write("REMOTE fritzbox 127.0.0.1 " + QByteArray::number(port) + "\nTRACELEVEL 0\n");
        rc.close();
        runner.setEnvironment("HOME", QDir(runner.appDir() + "../home").absolutePath());
        QProcess* program = runner.start({"--headless", "--debug", "--line=capi"});

        QTRY_VERIFY_WITH_TIMEOUT(router.isListenedTo(), 10000);
        // libcapi20's descriptor is its TCP connection to the router: it probes a dead peer.
        QProcess ss;
        ss.start("ss", {"-tnoi", "state", "established", "dst", QString("127.0.0.1:%1").arg(port)});
        QVERIFY(ss.waitForFinished());
        const QString sockets = QString::fromUtf8(ss.readAllStandardOutput());
        QVERIFY2(sockets.contains("timer:(keepalive,"), qPrintable(sockets));
        router.offerCall(0x101, "4711", "301234567");
        QTRY_VERIFY_WITH_TIMEOUT(router.received().contains("CAPI_ALERT - CAPI_REQ"), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(runner.journal().size(), 1, 10000);

        router.goAway();
        QTRY_VERIFY_WITH_TIMEOUT(runner.journal().recordAt(1).endReason == text(lang_id::kUnknown),
                                 10000);
        QVERIFY(router.listen(port));
        QTRY_VERIFY_WITH_TIMEOUT(router.isListenedTo(), kReconnectWaitMs);
        router.offerCall(0x201, "4711", "891234567");
        QTRY_COMPARE_WITH_TIMEOUT(runner.journal().size(), 2, 10000);

        const QString errors = finish(program);
        QCOMPARE(runner.journal().recordAt(2).number, std::string("0891234567"));
        QVERIFY2(errors.contains("LINE LOST: Connection to the CAPI lost"), qPrintable(errors));
        QCOMPARE(errors.count("LINE BACK"), 1);
        // The program released its application on the way out.
        QTRY_VERIFY(router.received().contains("RELEASE"));
        QCOMPARE(runner.log().count("Line lost at"), 1);
    }
};

QTEST_GUILESS_MAIN(LineRecoveryTest)
#include "LineRecoveryTest.moc"
