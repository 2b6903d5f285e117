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
    void aLockThatCannotBeOpenedIsNamedWithItsCause();
    void secondInstanceWritesNothingAndTheFirstRemovesLeftoverTemporaries();
    void dataFilesThatAreNoRegularFilesAreReportedAndTheProgramCarriesOn();
    void versionAndHelp();
    void originQueryAnswersWithoutStartingTheProgram();
    void failedRegistrationTellsTheUserAndEnds();
};

void StartupTest::firstStartCreatesConfigAndEndsCleanlyOnSigterm() {
    ProgramRunner runner;
    QProcess* program = runner.start({"--headless", "--debug", runner.scenario("")});
    // The line's trace, one line each, on stderr. Settings and stores are in place before the
    // line is up.
    QString trace;
    QTRY_VERIFY_WITH_TIMEOUT((trace += QString::fromUtf8(program->readAllStandardError()))
                                 .contains("\n--> CAPI_LISTEN - CAPI_CONF\n"),
                             10000);
    QCOMPARE(program->state(), QProcess::Running);
    QVERIFY(QDir(runner.configDir() + "logs").exists());
    QFile config(runner.configDir() + "config.dat");
    QVERIFY(config.open(QIODevice::ReadOnly));
    QCOMPARE(config.readAll(), QByteArray("\r\n"));
    QVERIFY(QFile::exists(runner.configDir() + "calls.txt"));
    QCOMPARE(ProgramRunner::stop(program), 0);
    const QStringList lines = (trace + program->readAllStandardError()).split('\n');
    QVERIFY(lines.contains("--> CAPI_REGISTER"));
    QVERIFY(lines.contains("--> CAPI_RELEASE"));
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
    QProcess* second = runner.run({"--headless", runner.scenario("")});
    QVERIFY(second->exitCode() != 0);
    const QString errors = QString::fromUtf8(second->readAllStandardError());
    QVERIFY2(errors.contains(ProgramRunner::english(lang_id::kSecondInstance)), qPrintable(errors));
    QCOMPARE(first->state(), QProcess::Running);
    QCOMPARE(ProgramRunner::stop(first), 0);
}

void StartupTest::aLockThatCannotBeOpenedIsNamedWithItsCause() {
    ProgramRunner runner;
    QVERIFY(QDir().mkpath(runner.configDir() + "rufwacht.lock"));
    QProcess* program = runner.run({"--headless", runner.scenario("")});
    QCOMPARE(program->exitCode(), 1);
    const QString errors = QString::fromUtf8(program->readAllStandardError());
    QVERIFY2(errors.contains(ProgramRunner::english(lang_id::kInstanceLockFailed)) &&
                 errors.contains("Is a directory") &&
                 !errors.contains(ProgramRunner::english(lang_id::kSecondInstance)),
             qPrintable(errors));
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
    QVERIFY(runner.run({"--headless", runner.scenario("")})->exitCode() != 0);
    QCOMPARE(fileIdentity(journal), before);
    QCOMPARE(fileIdentity(runner.configDir() + "config.dat"), settingsBefore);
    QCOMPARE(ProgramRunner::stop(first), 0);
    // Nothing changed in the first one either: ending it writes nothing.
    QCOMPARE(fileIdentity(journal), before);
}

void StartupTest::dataFilesThatAreNoRegularFilesAreReportedAndTheProgramCarriesOn() {
    ProgramRunner runner;
    QDir().mkpath(runner.configDir() + "calls.txt");
    QDir().mkpath(runner.configDir() + "msn.dat");
    QVERIFY(::mkfifo(QFile::encodeName(runner.configDir() + "config.dat").constData(), 0600) == 0);
    QVERIFY(::mkfifo(QFile::encodeName(runner.configDir() + "nn.dat").constData(), 0600) == 0);
    // A file in the log folder's place costs the log, not the program.
    QFile logs(runner.configDir() + "logs");
    QVERIFY(logs.open(QIODevice::WriteOnly));
    logs.close();
    QProcess* program = runner.start({"--headless", runner.scenario("")});
    const QString readFailed = ProgramRunner::english(lang_id::kReadFailed);
    QString errors;
    QTRY_VERIFY_WITH_TIMEOUT(
        (errors += QString::fromUtf8(program->readAllStandardError())).count(readFailed) == 4,
        10000);
    QCOMPARE(program->state(), QProcess::Running);
    QCOMPARE(errors.count(ProgramRunner::english(lang_id::kLogFolderUnusable)), 1);
    QElapsedTimer ending;
    ending.start();
    QCOMPARE(ProgramRunner::stop(program), 0);
    QVERIFY2(ending.elapsed() < 1000, qPrintable(QString::number(ending.elapsed())));
    QVERIFY(QFileInfo(runner.configDir() + "calls.txt").isDir());
    QVERIFY(QFileInfo(runner.configDir() + "nn.dat").exists());

    QProcess* query = runner.run({"--origin", "0041441234567"});
    QCOMPARE(query->exitCode(), 0);
    QVERIFY(QString::fromUtf8(query->readAllStandardError()).contains("config.dat"));
}

void StartupTest::versionAndHelp() {
    ProgramRunner runner;
    QCOMPARE(runner.run({"--version"})->readAllStandardOutput(), QByteArray("Rufwacht 1.0.0\n"));
    for (const char* wrongArgument : {"--no-such-option", "stray"}) {
        QProcess* wrong = runner.run({"--headless", wrongArgument});
        QCOMPARE(wrong->exitCode(), 2);
        QVERIFY(wrong->readAllStandardError().contains("Usage"));
    }
    QVERIFY(!QFile::exists(runner.configDir()));
}

// What the query answers is the origin tables' business; here: the program answers without
// starting, takes "+" for "00" and tells missing tables apart.
void StartupTest::originQueryAnswersWithoutStartingTheProgram() {
    ProgramRunner runner;
    QProcess* found = runner.run({"--origin", "+41441234567"});
    QCOMPARE(found->exitCode(), 0);
    QCOMPARE(QString::fromUtf8(found->readAllStandardOutput()), QString("Schweiz, Zürich\n"));
    QCOMPARE(runner.run({"--origin", "0301x"})->exitCode(), 1);
    QVERIFY(!QFile::exists(runner.configDir() + "config.dat"));
    QVERIFY(QDir(runner.appDir() + "prefix").removeRecursively());
    QProcess* noTables = runner.run({"--origin", "0041441234567"});
    QCOMPARE(noTables->exitCode(), 2);
    QVERIFY(noTables->readAllStandardError().contains("origin tables"));
}

void StartupTest::failedRegistrationTellsTheUserAndEnds() {
    ProgramRunner runner;
    runner.writeConfig({});
    QProcess* program =
        runner.run({"--headless", "--debug", "--line=capi:/nonexistent/libcapi20.so.3"});
    QCOMPARE(program->exitCode(), 1);
    const QString errors = QString::fromUtf8(program->readAllStandardError());
    QVERIFY2(!errors.contains("not registered"), qPrintable(errors));
    QVERIFY2(
        errors.contains(ProgramRunner::english(lang_id::kCapiRegisterFailed).replace("\r\n", " ")),
        qPrintable(errors));
}

QTEST_GUILESS_MAIN(StartupTest)
#include "StartupTest.moc"
