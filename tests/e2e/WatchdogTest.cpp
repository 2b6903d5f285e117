// The program under systemd's watchdog: the test plays the service manager, a datagram socket
// named by NOTIFY_SOCKET, and counts the program's "WATCHDOG=1" messages.
#include "ProgramRunner.h"

#include <QDeadlineTimer>
#include <QTest>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace {

/// The manager's end of the notification socket, bound to a path.
class NotifySocket {
public:
    explicit NotifySocket(const QString& path) : m_fd(::socket(AF_UNIX, SOCK_DGRAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = path.toLocal8Bit();
        std::memcpy(address.sun_path, name.constData(),
                    std::min<std::size_t>(name.size(), sizeof(address.sun_path) - 1));
        m_bound =
            m_fd >= 0 && ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    }
    ~NotifySocket() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    NotifySocket(const NotifySocket&) = delete;
    NotifySocket& operator=(const NotifySocket&) = delete;

    bool isBound() const { return m_bound; }

    /// The messages that arrive before the deadline, up to count of them.
    QStringList receive(int count, QDeadlineTimer deadline) {
        QStringList messages;
        while (messages.size() < count && !deadline.hasExpired()) {
            pollfd wait{m_fd, POLLIN, 0};
            if (::poll(&wait, 1, static_cast<int>(deadline.remainingTime())) <= 0) {
                continue;
            }
            char buffer[256];
            const ssize_t length = ::recv(m_fd, buffer, sizeof(buffer), 0);
            if (length > 0) {
                messages << QString::fromUtf8(buffer, static_cast<int>(length)).trimmed();
            }
        }
        return messages;
    }

private:
    int m_fd;
    bool m_bound = false;
};

} // namespace

class WatchdogTest : public QObject {
    Q_OBJECT
private slots:
    void tellsTheWatchdogFromItsEventLoopOnlyWhenAsked() {
        ProgramRunner runner;
        runner.writeConfig({});
        NotifySocket watched(runner.appDir() + "../watched.sock");
        NotifySocket unwatched(runner.appDir() + "../unwatched.sock");
        QVERIFY(watched.isBound() && unwatched.isBound());

        // Without WATCHDOG_USEC the unit has no watchdog: nothing is sent.
        runner.setEnvironment("NOTIFY_SOCKET", runner.appDir() + "../unwatched.sock");
        runner.setEnvironment("WATCHDOG_USEC", "");
        QProcess* plain = runner.start({"--headless", "--debug", runner.scenario("wait 30\n")});
        QByteArray trace;
        QTRY_VERIFY_WITH_TIMEOUT(
            (trace += plain->readAllStandardError()).contains("LISTEN - CAPI_CONF"), 15000);
        // A watchdog of 0.2 s: the program must speak at least every 0.1 s.
        runner.setEnvironment("NOTIFY_SOCKET", runner.appDir() + "../watched.sock");
        runner.setEnvironment("WATCHDOG_USEC", "200000");
        QProcess* service =
            runner.start({"--headless", "--config-dir=" + runner.appDir() + "../other",
                          runner.scenario("wait 30\n")});
        QDeadlineTimer started(15000);
        const QStringList messages = watched.receive(10, started);
        QCOMPARE(messages.size(), 10);
        QCOMPARE(messages.filter("WATCHDOG=1").size(), 10);
        // The plain instance has run longer than the watched one took for its ten.
        QVERIFY(unwatched.receive(1, QDeadlineTimer(100)).isEmpty());
        QCOMPARE(ProgramRunner::stop(service), 0);
        QCOMPARE(ProgramRunner::stop(plain), 0);
    }
};

QTEST_GUILESS_MAIN(WatchdogTest)
#include "WatchdogTest.moc"
