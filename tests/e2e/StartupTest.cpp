#include "ProgramRunner.h"

#include "stores/LanguageIds.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace {

// The file's inode and bytes: a safe save gives the file a new inode even with equal bytes.
QString fileIdentity(const QString& path) {
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    QFile file(path);
    return QString::number(info.st_ino) + "/" +
           (file.open(QIODevice::ReadOnly) ? file.readAll().toHex() : QByteArray());
}

/// The service manager's end of the notification socket, bound to a path.
class NotifySocket {
public:
    explicit NotifySocket(const QString& path) : m_fd(::socket(AF_UNIX, SOCK_DGRAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path).left(sizeof(address.sun_path) - 1);
        std::memcpy(address.sun_path, name.constData(), name.size());
        m_bound = ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    }
    ~NotifySocket() { ::close(m_fd); }
    NotifySocket(const NotifySocket&) = delete;
    NotifySocket& operator=(const NotifySocket&) = delete;

    bool isBound() const { return m_bound; }

    /// The messages that arrive before the deadline, up to count of them.
    QStringList receive(int count, QDeadlineTimer deadline) {
        QStringList messages;
        while (messages.size() < count && !deadline.hasExpired()) {
            pollfd wait{m_fd, POLLIN, 0};
            char buffer[256];
            if (::poll(&wait, 1, static_cast<int>(deadline.remainingTime())) > 0) {
                const ssize_t length = ::recv(m_fd, buffer, sizeof(buffer), 0);
                if (length > 0) {
                    messages << QString::fromUtf8(buffer, static_cast<int>(length));
                }
            }
        }
        return messages;
    }

private:
    int m_fd;
    bool m_bound = false;
};

} // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    // The first start makes the settings folder; settings and stores are in place before the
    // line is up, and SIGTERM ends the program cleanly. A lock file left damaged by a crash
    // does not count; the settings folder is locked, not the runtime folder, so a second
    // instance with a runtime folder of its own meets the lock. It ends with its message and
    // writes nothing; the first clears leftover temporaries. Under systemd's watchdog (the test
    // plays the service manager) an instance tells it from its event loop, only when asked.
    void firstStartASecondInstanceAndTheWatchdog() {
        ProgramRunner runner;
        NotifySocket watched(runner.appDir() + "../watched.sock");
        NotifySocket unwatched(runner.appDir() + "../unwatched.sock");
        QVERIFY(watched.isBound() && unwatched.isBound());
        // Without WATCHDOG_USEC the unit has no watchdog: nothing is sent.
        runner.setEnvironment("NOTIFY_SOCKET", runner.appDir() + "../unwatched.sock");
        runner.setEnvironment("WATCHDOG_USEC", "");
        runner.writeFile("rufwacht.lock", "\x01garbage");
        runner.writeFile("calls.txt", "0301\tAnna\t12\t01.02.2024\t10:00\tbusy\tSpeech\r\n");
        const QString leftover = runner.configDir() + "calls.txt.tmp-123456-7";
        QFile(leftover).open(QIODevice::WriteOnly);
        QProcess* first = runner.startHeadless("", {"--debug"});
        // The line's trace, one line each, on stderr.
        ProgramErrors trace(first);
        QVERIFY(trace.waitFor("\n--> CAPI_LISTEN - CAPI_CONF\n", 10000));
        QCOMPARE(first->state(), QProcess::Running);
        QVERIFY(QDir(runner.configDir() + "logs").exists());
        QCOMPARE(runner.readFile("config.dat"), QByteArray("\r\n"));
        // The running instance writes its process number into the lock it holds.
        QTRY_COMPARE_WITH_TIMEOUT(runner.readFile("rufwacht.lock").trimmed(),
                                  QByteArray::number(first->processId()), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(leftover), 10000);
        const QString journal = fileIdentity(runner.configDir() + "calls.txt");
        const QString settings = fileIdentity(runner.configDir() + "config.dat");
        const QTemporaryDir otherRuntime;
        runner.setEnvironment("XDG_RUNTIME_DIR", otherRuntime.path());
        QProcess* second = runner.run({"--headless", runner.scenario("")});
        QVERIFY(second->exitCode() != 0);
        const QString errors = QString::fromUtf8(second->readAllStandardError());
        QVERIFY2(errors.contains(english(lang_id::kSecondInstance)), qPrintable(errors));
        QCOMPARE(fileIdentity(runner.configDir() + "config.dat"), settings);
        QCOMPARE(fileIdentity(runner.configDir() + "calls.txt"), journal);
        QCOMPARE(first->state(), QProcess::Running);

        // A watchdog of 0.2 s: the program must speak at least every 0.1 s.
        runner.setEnvironment("NOTIFY_SOCKET", runner.appDir() + "../watched.sock");
        runner.setEnvironment("WATCHDOG_USEC", "200000");
        QProcess* service =
            runner.startHeadless("wait 30", {"--config-dir=" + runner.appDir() + "../other"});
        const QStringList messages = watched.receive(10, QDeadlineTimer(15000));
        QCOMPARE(messages.size(), 10);
        QCOMPARE(messages.filter("WATCHDOG=1").size(), 10);
        // The first instance has run longer than the watched one took for its ten.
        QVERIFY(unwatched.receive(1, QDeadlineTimer(100)).isEmpty());
        QCOMPARE(ProgramRunner::stop(service), 0);
        QCOMPARE(ProgramRunner::stop(first), 0);
        const QStringList lines = trace.text().split('\n');
        QVERIFY(lines.contains("--> CAPI_REGISTER"));
        QVERIFY(lines.contains("--> CAPI_RELEASE"));
        // Nothing changed in the first one either: ending it writes nothing.
        QCOMPARE(fileIdentity(runner.configDir() + "calls.txt"), journal);
    }

    // Version, help and the origin query answer without starting the program. What the query
    // answers is the origin tables' business; here: "+" is "00", missing tables are told apart,
    // and settings that cannot be read are named. A lock that cannot be opened and a line that
    // cannot register end the start with their cause. Data files that are no regular files are
    // reported and the program carries on.
    void commandLineAnswersFailedStartsAndDataFilesThatAreNoRegularFiles() {
        ProgramRunner runner;
        QCOMPARE(runner.run({"--version"})->readAllStandardOutput(),
                 QByteArray("Rufwacht 1.0.0\n"));
        QProcess* wrong = runner.run({"--headless", "stray"});
        QCOMPARE(wrong->exitCode(), 2);
        QVERIFY(wrong->readAllStandardError().contains("Usage"));
        QVERIFY(!QFile::exists(runner.configDir()));
        QProcess* found = runner.run({"--origin", "+41441234567"});
        QCOMPARE(found->exitCode(), 0);
        QCOMPARE(QString::fromUtf8(found->readAllStandardOutput()), QString("Schweiz, Zürich\n"));
        QCOMPARE(runner.run({"--origin", "0301x"})->exitCode(), 1);
        QVERIFY(!QFile::exists(runner.configDir() + "config.dat"));

        QVERIFY(QDir().mkpath(runner.configDir() + "rufwacht.lock"));
        QProcess* locked = runner.run({"--headless", runner.scenario("")});
        QCOMPARE(locked->exitCode(), 1);
        QString errors = QString::fromUtf8(locked->readAllStandardError());
        QVERIFY2(errors.contains(english(lang_id::kInstanceLockFailed)) &&
                     errors.contains("Is a directory") &&
                     !errors.contains(english(lang_id::kSecondInstance)),
                 qPrintable(errors));
        QVERIFY(QDir(runner.configDir() + "rufwacht.lock").removeRecursively());
        QProcess* unregistered =
            runner.run({"--headless", "--debug", "--line=capi:/nonexistent/libcapi20.so.3"});
        QCOMPARE(unregistered->exitCode(), 1);
        errors = QString::fromUtf8(unregistered->readAllStandardError());
        QVERIFY2(!errors.contains("not registered") &&
                     errors.contains(english(lang_id::kCapiRegisterFailed).replace("\r\n", " ")),
                 qPrintable(errors));
        QVERIFY(QDir(runner.configDir()).removeRecursively());

        QDir().mkpath(runner.configDir() + "calls.txt");
        QDir().mkpath(runner.configDir() + "msn.dat");
        for (const char* name : {"config.dat", "nn.dat"}) {
            QVERIFY(::mkfifo(QFile::encodeName(runner.configDir() + name).constData(), 0600) == 0);
        }
        // A file in the log folder's place costs the log, not the program.
        runner.writeFile("logs", {});
        QProcess* program = runner.startHeadless("");
        ProgramErrors told(program);
        QTRY_VERIFY_WITH_TIMEOUT(told.text().count(english(lang_id::kReadFailed)) == 4, 10000);
        QCOMPARE(program->state(), QProcess::Running);
        QCOMPARE(told.text().count(english(lang_id::kLogFolderUnusable)), 1);
        QElapsedTimer ending;
        ending.start();
        QCOMPARE(ProgramRunner::stop(program), 0);
        QVERIFY2(ending.elapsed() < 1000, qPrintable(QString::number(ending.elapsed())));
        QVERIFY(QFileInfo(runner.configDir() + "calls.txt").isDir());
        QVERIFY(QFileInfo(runner.configDir() + "nn.dat").exists());

        QProcess* query = runner.run({"--origin", "0041441234567"});
        QCOMPARE(query->exitCode(), 0);
        QVERIFY(QString::fromUtf8(query->readAllStandardError()).contains("config.dat"));
        QVERIFY(QDir(runner.appDir() + "prefix").removeRecursively());
        QProcess* noTables = runner.run({"--origin", "0041441234567"});
        QCOMPARE(noTables->exitCode(), 2);
        QVERIFY(noTables->readAllStandardError().contains("origin tables"));
    }
};

QTEST_GUILESS_MAIN(StartupTest)
#include "StartupTest.moc"
