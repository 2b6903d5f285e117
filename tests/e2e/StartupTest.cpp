#include "ProgramRunner.h"

#include "stores/LanguageIds.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

namespace {

ino_t inodeOf(const QString& path) {
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_ino;
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void firstStartCreatesConfigAndEndsCleanlyOnSigterm();
    void secondInstanceEndsWithItsMessage();
    void secondInstanceWritesNothingAndTheFirstRemovesLeftoverTemporaries();
    void dataFilesThatAreNoRegularFilesAreReportedAndTheProgramCarriesOn();
    void missingResourceEndsTheStart();
    void versionAndHelp();
    void originQueryAnswersWithoutStartingTheProgram();
    void failedRegistrationTellsTheUserAndEnds();
};

void StartupTest::firstStartCreatesConfigAndEndsCleanlyOnSigterm() {
    ProgramRunner runner;
    QProcess* program = runner.start({"--headless", "--debug", runner.scenario("")});
    QVERIFY(ProgramRunner::waitForFile(runner.configDir() + "config.dat"));
    QTest::qWait(300);
    QCOMPARE(program->state(), QProcess::Running);
    QVERIFY(QDir(runner.configDir() + "logs").exists());
    QFile config(runner.configDir() + "config.dat");
    QVERIFY(config.open(QIODevice::ReadOnly));
    QCOMPARE(config.readAll(), QByteArray("\r\n"));
    QVERIFY(QFile::exists(runner.configDir() + "calls.txt"));
    program->terminate();
    QVERIFY(program->waitForFinished(10000));
    QCOMPARE(program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(program->exitCode(), 0);
    // The line's trace, one line each, on stderr.
    const QStringList trace = QString::fromUtf8(program->readAllStandardError()).split('\n');
    QVERIFY(trace.contains("--> CAPI_REGISTER"));
    QVERIFY(trace.contains("--> CAPI_LISTEN - CAPI_CONF"));
    QVERIFY(trace.contains("--> CAPI_RELEASE"));
}

void StartupTest::secondInstanceEndsWithItsMessage() {
    ProgramRunner runner;
    // A lock file left damaged by a crash does not count; the settings folder is locked, not
    // the runtime folder, so a second instance with a runtime folder of its own meets the lock.
    runner.writeConfig({});
    QFile damaged(runner.configDir() + "rufwacht.lock");
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("\x01garbage");
    damaged.close();
    QProcess* first = runner.start({"--headless", runner.scenario("")});
    const auto lockHolder = [&runner]() {
        QFile lock(runner.configDir() + "rufwacht.lock");
        return lock.open(QIODevice::ReadOnly) ? lock.readAll().trimmed() : QByteArray();
    };
    // The running instance writes its process number into the lock it holds.
    QTRY_COMPARE_WITH_TIMEOUT(lockHolder(), QByteArray::number(first->processId()), 10000);
    const QTemporaryDir otherRuntime;
    runner.setEnvironment("XDG_RUNTIME_DIR", otherRuntime.path());
    QProcess* second = runner.start({"--headless", runner.scenario("")});
    QVERIFY(second->waitForFinished(10000));
    QVERIFY(second->exitCode() != 0);
    const QString errors = QString::fromUtf8(second->readAllStandardError());
    QVERIFY2(errors.contains(
                 QString::fromStdString(ProgramRunner::englishText(lang_id::kSecondInstance))),
             qPrintable(errors));
    QCOMPARE(first->state(), QProcess::Running);
    first->terminate();
    QVERIFY(first->waitForFinished(10000));
    QCOMPARE(first->exitCode(), 0);
}

namespace {

// The file's inode and bytes: a safe save gives the file a new inode even with equal bytes.
QString fileIdentity(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::number(inodeOf(path)) + "/" + QString::fromLatin1(file.readAll().toHex());
}

} // namespace

void StartupTest::secondInstanceWritesNothingAndTheFirstRemovesLeftoverTemporaries() {
    ProgramRunner runner;
    runner.writeConfig({});
    const QString journal = runner.configDir() + "calls.txt";
    {
        QFile file(journal);
        file.open(QIODevice::WriteOnly);
        file.write("0301\tAnna\t12\t01.02.2024\t10:00\tbusy\tSpeech\r\n");
    }
    const QString leftover = runner.configDir() + "calls.txt.tmp-123456-7";
    QFile(leftover).open(QIODevice::WriteOnly);
    QProcess* first = runner.start({"--headless", runner.scenario("")});
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(leftover), 10000);
    const QString before = fileIdentity(journal);
    const QString settingsBefore = fileIdentity(runner.configDir() + "config.dat");
    QProcess* second = runner.start({"--headless", runner.scenario("")});
    QVERIFY(second->waitForFinished(10000));
    QVERIFY(second->exitCode() != 0);
    QCOMPARE(fileIdentity(journal), before);
    QCOMPARE(fileIdentity(runner.configDir() + "config.dat"), settingsBefore);
    first->terminate();
    QVERIFY(first->waitForFinished(10000));
    // Nothing changed in the first one either: ending it writes nothing.
    QCOMPARE(fileIdentity(journal), before);
}

void StartupTest::dataFilesThatAreNoRegularFilesAreReportedAndTheProgramCarriesOn() {
    ProgramRunner runner;
    QDir().mkpath(runner.configDir() + "calls.txt");
    QDir().mkpath(runner.configDir() + "msn.dat");
    QVERIFY(::mkfifo(QFile::encodeName(runner.configDir() + "config.dat").constData(), 0600) == 0);
    QVERIFY(::mkfifo(QFile::encodeName(runner.configDir() + "nn.dat").constData(), 0600) == 0);
    QProcess* program = runner.start({"--headless", runner.scenario("")});
    const QString readFailed =
        QString::fromStdString(ProgramRunner::englishText(lang_id::kReadFailed));
    QString errors;
    QTRY_VERIFY_WITH_TIMEOUT(
        (errors += QString::fromUtf8(program->readAllStandardError())).count(readFailed) == 4,
        10000);
    QCOMPARE(program->state(), QProcess::Running);
    QElapsedTimer ending;
    ending.start();
    program->terminate();
    QVERIFY(program->waitForFinished(10000));
    QVERIFY2(ending.elapsed() < 1000, qPrintable(QString::number(ending.elapsed())));
    QCOMPARE(program->exitCode(), 0);
    QVERIFY(QFileInfo(runner.configDir() + "calls.txt").isDir());
    QVERIFY(QFileInfo(runner.configDir() + "nn.dat").exists());

    QProcess* query = runner.start({"--origin", "0041441234567"});
    QVERIFY(query->waitForFinished(10000));
    QCOMPARE(query->exitCode(), 0);
    QVERIFY(QString::fromUtf8(query->readAllStandardError()).contains("config.dat"));
}

void StartupTest::missingResourceEndsTheStart() {
    ProgramRunner runner;
    QVERIFY(QFile::remove(runner.appDir() + "res/load.wav"));
    QProcess* program = runner.start({"--headless", runner.scenario("")});
    QVERIFY(program->waitForFinished(10000));
    QVERIFY(program->exitCode() != 0);
    const QString errors = QString::fromUtf8(program->readAllStandardError());
    QVERIFY2(errors.contains(
                 QString::fromStdString(ProgramRunner::englishText(lang_id::kResourceMissing))
                     .replace("\r\n", " ")),
             qPrintable(errors));
}

void StartupTest::versionAndHelp() {
    ProgramRunner runner;
    QProcess* version = runner.start({"--version"});
    QVERIFY(version->waitForFinished(10000));
    QCOMPARE(version->readAllStandardOutput(), QByteArray("Rufwacht 1.0.0\n"));
    for (const char* wrongArgument : {"--no-such-option", "stray"}) {
        QProcess* wrong = runner.start({"--headless", wrongArgument});
        QVERIFY(wrong->waitForFinished(10000));
        QCOMPARE(wrong->exitCode(), 2);
        QVERIFY(wrong->readAllStandardError().contains("Usage"));
    }
    QVERIFY(!QFile::exists(runner.configDir()));
}

void StartupTest::originQueryAnswersWithoutStartingTheProgram() {
    ProgramRunner runner;
    QProcess* found = runner.start({"--origin", "0041441234567"});
    QVERIFY(found->waitForFinished(10000));
    QCOMPARE(found->exitCode(), 0);
    QCOMPARE(QString::fromUtf8(found->readAllStandardOutput()), QString("Schweiz, Zürich\n"));
    QProcess* plus = runner.start({"--origin", "+41441234567"});
    QVERIFY(plus->waitForFinished(10000));
    QCOMPARE(plus->exitCode(), 0);
    QCOMPARE(QString::fromUtf8(plus->readAllStandardOutput()), QString("Schweiz, Zürich\n"));
    for (const char* notANumber : {"0301x", "0351.5"}) {
        QProcess* letters = runner.start({"--origin", notANumber});
        QVERIFY(letters->waitForFinished(10000));
        QCOMPARE(letters->exitCode(), 1);
    }
    QVERIFY(!QFile::exists(runner.configDir() + "config.dat"));
    QVERIFY(QDir(runner.appDir() + "prefix").removeRecursively());
    QProcess* noTables = runner.start({"--origin", "0041441234567"});
    QVERIFY(noTables->waitForFinished(10000));
    QCOMPARE(noTables->exitCode(), 2);
    QVERIFY(noTables->readAllStandardError().contains("origin tables"));
}

void StartupTest::failedRegistrationTellsTheUserAndEnds() {
    ProgramRunner runner;
    runner.writeConfig({});
    QProcess* program =
        runner.start({"--headless", "--debug", "--line=capi:/nonexistent/libcapi20.so.3"});
    QVERIFY(program->waitForFinished(10000));
    QCOMPARE(program->exitCode(), 1);
    const QString errors = QString::fromUtf8(program->readAllStandardError());
    QVERIFY2(!errors.contains("not registered"), qPrintable(errors));
    QVERIFY2(errors.contains(
                 QString::fromStdString(ProgramRunner::englishText(lang_id::kCapiRegisterFailed))
                     .replace("\r\n", " ")),
             qPrintable(errors));
}

QTEST_GUILESS_MAIN(StartupTest)
#include "StartupTest.moc"
