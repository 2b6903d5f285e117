// The line's recovery through the real program: a remote CAPI that the test plays itself, and a
// router that vanishes without closing: the call monitor's peer sits in a network namespace the
// test makes, behind a veth pair, and a firewall rule in there swallows every packet. The program
// must report the line lost within 90 s and be back one back-off step after the rule goes.
// Without namespaces (no root, a container) the socket options are checked with ss.
#include "FakeRemoteCapi.h"
#include "ProgramRunner.h"

#include "stores/LanguageIds.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <arpa/inet.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

namespace {

constexpr int kReconnectWaitMs = 15000;
constexpr int kLostWithinMs = 90000;
// The first back-off step is 1 s; the rest is room for a loaded machine.
constexpr int kBackWithinMs = 5000;

bool run(const QStringList& command, QString* output = nullptr) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command.first(), command.mid(1));
    const bool ok = process.waitForFinished(10000) &&
                    process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (output != nullptr) {
        *output = QString::fromUtf8(process.readAll());
    }
    return ok;
}

// The kernel reports a keepalive timer on the established connection to 127.0.0.1:port: a peer
// that vanishes is found out.
bool probesThePeer(quint16 port) {
    QString sockets;
    return run({"ss", "-tnoi", "state", "established", "dst", QString("127.0.0.1:%1").arg(port)},
               &sockets) &&
           sockets.contains("timer:(keepalive,");
}

/// A network namespace joined to this one by a veth pair, removed again with everything in it.
class PeerNamespace {
public:
    PeerNamespace() : m_name(QString("rwdp%1").arg(::getpid())) {
        // A /30 of its own per test process.
        const int n = ::getpid();
        const QString net = QString("10.213.%1.").arg(n % 256);
        m_hostAddress = net + QString::number((n / 256) % 64 * 4 + 1);
        m_peerAddress = net + QString::number((n / 256) % 64 * 4 + 2);
        const QString host = m_name + "h";
        const QString peer = m_name + "n";
        const QStringList exec{"ip", "netns", "exec", m_name};
        m_made =
            run({"ip", "netns", "add", m_name}, &m_problem) &&
            run({"ip", "link", "add", host, "type", "veth", "peer", "name", peer, "netns", m_name},
                &m_problem) &&
            run({"ip", "addr", "add", m_hostAddress + "/30", "dev", host}, &m_problem) &&
            run({"ip", "link", "set", host, "up"}, &m_problem) &&
            run(exec + QStringList{"ip", "addr", "add", m_peerAddress + "/30", "dev", peer},
                &m_problem) &&
            run(exec + QStringList{"ip", "link", "set", peer, "up"}, &m_problem);
    }
    ~PeerNamespace() {
        // Packets pass again first, so that connections left in there close and free it.
        swallowPackets(false);
        run({"ip", "netns", "delete", m_name});
        run({"ip", "link", "delete", m_name + "h"});
    }
    PeerNamespace(const PeerNamespace&) = delete;
    PeerNamespace& operator=(const PeerNamespace&) = delete;

    bool isMade() const { return m_made; }
    QString problem() const { return m_problem.trimmed(); }
    QString peerAddress() const { return m_peerAddress; }

    /// A listening socket inside the namespace (made on a thread that enters it: a socket
    /// stays in the namespace it was made in); -1 on failure.
    int listen() const {
        int listener = -1;
        std::thread([&] {
            const int ns = ::open(("/var/run/netns/" + m_name).toLocal8Bit().constData(),
                                  O_RDONLY | O_CLOEXEC);
            if (ns < 0 || ::setns(ns, CLONE_NEWNET) != 0) {
                return;
            }
            ::close(ns);
            listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_in address{};
            address.sin_family = AF_INET;
            ::inet_pton(AF_INET, m_peerAddress.toLatin1().constData(), &address.sin_addr);
            if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
                ::listen(listener, 4) != 0) {
                ::close(listener);
                listener = -1;
            }
        }).join();
        return listener;
    }

    /// Every packet in or out of the namespace vanishes, or passes again.
    bool swallowPackets(bool on) const {
        const QStringList nft{"ip", "netns", "exec", m_name, "nft"};
        if (!on) {
            return run(nft + QStringList{"delete", "table", "inet", "vanish"});
        }
        return run(nft + QStringList{"add", "table", "inet", "vanish"}) &&
               run(nft + QStringList{"add chain inet vanish in { type filter hook input "
                                     "priority 0 ; policy drop ; }"}) &&
               run(nft + QStringList{"add chain inet vanish out { type filter hook output "
                                     "priority 0 ; policy drop ; }"});
    }

private:
    QString m_name;
    QString m_hostAddress;
    QString m_peerAddress;
    QString m_problem;
    bool m_made = false;
};

} // namespace

class LineRecoveryTest : public QObject {
    Q_OBJECT
private slots:
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
        // libcapi20's descriptor is its TCP connection to the router.
        QVERIFY(probesThePeer(port));
        router.offerCall(0x101, "4711", "301234567");
        QTRY_VERIFY_WITH_TIMEOUT(router.received().contains("CAPI_ALERT - CAPI_REQ"), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(runner.journal().size(), 1, 10000);

        router.goAway();
        QTRY_VERIFY_WITH_TIMEOUT(
            runner.journal().recordAt(1).endReason == englishText(lang_id::kUnknown), 10000);
        QVERIFY(router.listen(port));
        QTRY_VERIFY_WITH_TIMEOUT(router.isListenedTo(), kReconnectWaitMs);
        router.offerCall(0x201, "4711", "891234567");
        QTRY_COMPARE_WITH_TIMEOUT(runner.journal().size(), 2, 10000);

        QCOMPARE(ProgramRunner::stop(program), 0);
        QCOMPARE(runner.journal().recordAt(2).number, std::string("0891234567"));
        // The outage is told once, and its end.
        const QString errors = QString::fromUtf8(program->readAllStandardError());
        QCOMPARE(errors.count("LINE LOST: Connection to the CAPI lost"), 1);
        QCOMPARE(errors.count("LINE BACK"), 1);
        // The program released its application on the way out.
        QTRY_VERIFY(router.received().contains("RELEASE"));
        QCOMPARE(runner.log().count("Line lost at"), 1);
    }

    void vanishedRouterIsALostLineWithinAMinuteAndComesBack() {
        PeerNamespace peer;
        if (!peer.isMade()) {
            checkSocketOptionsWithSs();
            QSKIP(qPrintable("network namespaces not allowed here (" + peer.problem() +
                             "); checked the socket options with ss -tnoi instead"));
        }
        QTcpServer router;
        const int listener = peer.listen();
        QVERIFY(listener >= 0 && router.setSocketDescriptor(listener));
        ProgramRunner runner;
        runner.writeConfig({});
        QProcess* program = runner.start(
            {"--headless", "--debug",
             QString("--line=callmonitor:%1:%2").arg(peer.peerAddress()).arg(router.serverPort())});
        ProgramErrors trace(program);
        QTRY_VERIFY_WITH_TIMEOUT(router.hasPendingConnections(), 15000);
        QTcpSocket* connection = router.nextPendingConnection();
        QTRY_VERIFY(trace.contains("LINE UP"));

        QVERIFY(peer.swallowPackets(true));
        QVERIFY2(trace.waitFor("LINE LOST", kLostWithinMs), qPrintable(trace.text()));

        QVERIFY(peer.swallowPackets(false));
        QVERIFY2(trace.waitFor("LINE BACK", kBackWithinMs), qPrintable(trace.text()));
        QVERIFY(router.hasPendingConnections() || router.waitForNewConnection(1000));
        delete connection;
        QCOMPARE(ProgramRunner::stop(program), 0);
    }

private:
    // The options as the kernel reports them for the program's connection to a local router.
    void checkSocketOptionsWithSs() {
        QTcpServer router;
        QVERIFY(router.listen(QHostAddress::LocalHost));
        ProgramRunner runner;
        runner.writeConfig({});
        QProcess* program =
            runner.start({"--headless", "--debug",
                          QString("--line=callmonitor:127.0.0.1:%1").arg(router.serverPort())});
        QVERIFY(ProgramErrors(program).waitFor("LINE UP"));
        // The user timeout is not shown by ss.
        QVERIFY(probesThePeer(router.serverPort()));
        QCOMPARE(ProgramRunner::stop(program), 0);
    }
};

QTEST_GUILESS_MAIN(LineRecoveryTest)
#include "LineRecoveryTest.moc"
