// The call-monitor server under load, through the whole headless program: a RING line from the
// router's call monitor on 127.0.0.1 until every one of 32 clients has read the served RING line;
// and the call handling's latency (RING written -> record saved, pop-up requested) without
// clients and with 32 reading clients plus one that never reads. The clients run in a thread of
// their own, as other programs would.
#include "calls/AppContext.h"
#include "calls/CallEvent.h"
#include "calls/Controller.h"
#include "calls/ControllerUi.h"
#include "outputs/CallMonitorServer.h"
#include "support/Log.h"
#include "support/UserPrompt.h"

#include "ProgramBench.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <vector>

namespace {

using bench::Clock;
using bench::waitUntil;

constexpr int kCalls = 1000;
constexpr int kReadingClients = 32;

// The server's clients, in their own thread: when the last reading client saw each RING.
class Clients : public QObject {
public:
    void connectTo(quint16 port, bool withStalled) {
        for (int i = 0; i < kReadingClients + (withStalled ? 1 : 0); ++i) {
            auto* socket = new QTcpSocket(this);
            const bool reads = i < kReadingClients;
            if (!reads) {
                // Takes nothing in: the server's buffer for it fills up.
                socket->setReadBufferSize(1);
                socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
                m_stalled = socket;
            } else {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket]() { onRead(socket); });
            }
            socket->connectToHost(QHostAddress::LocalHost, port);
            socket->waitForConnected(5000);
        }
    }
    /// When every reading client had read the RING of the call, if they have.
    bool allRead(int call, Clock::time_point& at) {
        const std::lock_guard lock(m_mutex);
        const auto found = m_reads.find(call);
        if (found == m_reads.end() || found->second.first < kReadingClients) {
            return false;
        }
        at = found->second.second;
        return true;
    }
    bool stalledWasDropped() const {
        return m_stalled != nullptr && m_stalled->state() != QAbstractSocket::ConnectedState;
    }

private:
    // The RING lines' callers are 030 and 1000000 + the call's number.
    void onRead(QTcpSocket* socket) {
        const auto now = Clock::now();
        const std::lock_guard lock(m_mutex);
        while (socket->canReadLine()) {
            const QList<QByteArray> fields = socket->readLine().split(';');
            if (fields.size() > 3 && fields[1] == "RING") {
                auto& [readers, last] = m_reads[fields[3].mid(3).toInt() - 1000000];
                ++readers;
                last = now;
            }
        }
    }

    std::mutex m_mutex;
    std::map<int, std::pair<int, Clock::time_point>> m_reads; // per call: readers, last read
    QTcpSocket* m_stalled = nullptr;
};

struct Figures {
    std::vector<double> handling;
    std::vector<double> fanOut;
};

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

void print(const char* what, const std::vector<double>& values, const char* target) {
    std::fprintf(stderr, "  %-52s p50 %7.3f ms   p99 %7.3f ms   max %7.3f ms   %s\n", what,
                 percentile(values, 0.50), percentile(values, 0.99),
                 *std::max_element(values.begin(), values.end()), target);
}

double msBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Plays kCalls calls; false when one did not arrive.
bool playCalls(QTcpSocket* router, bench::TimedPopupUi& ui, const CallJournal& journal, int first,
               Clients* clients, Figures& figures) {
    for (int i = 1; i <= kCalls; ++i) {
        const int call = first + i;
        const QByteArray id = QByteArray::number(call % 8);
        const auto written = Clock::now();
        router->write("06.12.26 09:00:00;RING;" + id + ";030" + QByteArray::number(1000000 + call) +
                      ";4711;SIP0;\r\n");
        router->flush();
        if (!waitUntil([&]() { return ui.shown == call && journal.size() == call; })) {
            std::fprintf(stderr, "call %d did not arrive\n", call);
            return false;
        }
        figures.handling.push_back(msBetween(written, ui.shownAt));
        if (clients != nullptr) {
            Clock::time_point read;
            if (!waitUntil([&]() { return clients->allRead(call, read); })) {
                std::fprintf(stderr, "call %d did not reach every client\n", call);
                return false;
            }
            figures.fanOut.push_back(msBetween(written, read));
        }
        router->write("06.12.26 09:00:09;DISCONNECT;" + id + ";0;\r\n");
        router->flush();
        waitUntil([&]() { return !journal.recordAt(call).endReason.empty(); });
    }
    return true;
}

// The server alone: an event published to 32 reading clients, until it is written to all of
// them (handling) and until all of them have read it (fan-out).
bool publishDirectly(Figures& figures) {
    const Log log;
    CallMonitorServer server(log);
    if (!server.start(0, AddressAllowList("127.0.0.1"))) {
        return false;
    }
    QThread clientThread;
    clientThread.start();
    auto* clients = new Clients;
    clients->moveToThread(&clientThread);
    const quint16 port = server.port();
    QMetaObject::invokeMethod(
        clients, [clients, port]() { clients->connectTo(port, false); },
        Qt::BlockingQueuedConnection);
    waitUntil([&server]() { return server.clientCount() == kReadingClients; });
    bool ok = true;
    for (int call = 1; call <= kCalls && ok; ++call) {
        CallEvent event;
        event.callId = static_cast<std::uint32_t>(call);
        event.number = "030" + std::to_string(1000000 + call);
        event.msn = "4711";
        event.time = std::chrono::system_clock::now();
        const auto published = Clock::now();
        server.publish(event);
        figures.handling.push_back(msBetween(published, Clock::now()));
        Clock::time_point read;
        ok = waitUntil([&]() { return clients->allRead(call, read); });
        figures.fanOut.push_back(msBetween(published, read));
    }
    QMetaObject::invokeMethod(
        clients, [clients]() { delete clients; }, Qt::BlockingQueuedConnection);
    clientThread.quit();
    clientThread.wait();
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    // The headless program prints every call step on stdout; the figures go to stderr.
    if (std::freopen("/dev/null", "w", stdout) == nullptr) {
        return 1;
    }
    QTcpServer router;
    router.listen(QHostAddress::LocalHost);
    // The setting holds ports up to 32767.
    quint16 port = 21012;
    for (QTcpServer probe; !probe.listen(QHostAddress::Any, port);) {
        ++port;
    }
    Figures serverOnly;
    if (!publishDirectly(serverOnly)) {
        return 1;
    }
    QTemporaryDir dir;
    const std::string appDir = bench::prepareProgramFolder(
        dir, "popupsmall=-1\r\nmonitorserver=-1\r\nmonitorport=" + std::to_string(port) +
                 "\r\nline=callmonitor:127.0.0.1:" + std::to_string(router.serverPort()) + "\r\n");

    CommandLine commandLine;
    commandLine.headless = true;
    HeadlessPrompt prompt;
    bench::TimedPopupUi ui;
    Controller controller(commandLine, appDir, prompt, ui);
    if (!controller.start() || !router.waitForNewConnection(5000)) {
        std::fprintf(stderr, "start-up failed\n");
        return 1;
    }
    QTcpSocket* monitor = router.nextPendingConnection();
    const CallJournal& journal = controller.context().journal;

    Figures alone;
    if (!playCalls(monitor, ui, journal, 0, nullptr, alone)) {
        return 1;
    }
    // The same calls with 32 reading clients, then with one more that never reads.
    bool dropped = false;
    const auto withClients = [&](bool withStalled, int first, Figures& figures) {
        QThread clientThread;
        clientThread.start();
        auto* clients = new Clients;
        clients->moveToThread(&clientThread);
        QMetaObject::invokeMethod(
            clients, [clients, port, withStalled]() { clients->connectTo(port, withStalled); },
            Qt::BlockingQueuedConnection);
        // The server takes the clients in.
        const auto settled = Clock::now() + std::chrono::milliseconds(500);
        waitUntil([settled]() { return Clock::now() > settled; });
        const bool ok = playCalls(monitor, ui, journal, first, clients, figures);
        QMetaObject::invokeMethod(
            clients, [&]() { dropped = clients->stalledWasDropped(); },
            Qt::BlockingQueuedConnection);
        QMetaObject::invokeMethod(
            clients, [clients]() { delete clients; }, Qt::BlockingQueuedConnection);
        clientThread.quit();
        clientThread.wait();
        return ok;
    };
    Figures reading;
    Figures shared;
    if (!withClients(false, kCalls, reading) || !withClients(true, 2 * kCalls, shared)) {
        return 1;
    }
    std::fprintf(stderr, "Call-monitor server, %d calls each (headless program, 127.0.0.1)\n",
                 kCalls);
    print("event -> line written to all 32 clients", serverOnly.handling, "(target p99 <= 10 ms)");
    print("event -> line read by all 32 clients", serverOnly.fanOut, "");
    print("RING in -> served RING read by all 32 clients", reading.fanOut, "(whole program)");
    print("call handling, no clients", alone.handling, "");
    print("call handling, 32 clients", reading.handling, "");
    print("call handling, 32 clients + 1 that never reads", shared.handling, "(target: unchanged)");
    std::fprintf(stderr, "  the client that never reads was %s\n",
                 dropped ? "dropped when it fell behind" : "still connected at the end");
    controller.appExit(true);
    return 0;
}
