// Call latency with and without clients fetching the journal page, in one run: a headless
// program on the router's call monitor with a 200,000-record journal; RING written to the
// pop-up requested, first with nobody on the web page, then with 8 clients fetching the whole
// page again and again. Prints both, and the resident memory.
#include "calls/AppContext.h"
#include "calls/Controller.h"
#include "calls/ControllerUi.h"
#include "support/UserPrompt.h"

#include "ProgramBench.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using bench::Clock;
using bench::waitUntil;

constexpr int kRecords = 200000;
constexpr int kCallsPerPhase = 300;
constexpr int kClients = 8;

long statusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::stol(line.substr(std::string(field).size()));
        }
    }
    return 0;
}

// Fetches the page over and over on a thread of its own, until stopped.
void fetchPages(std::uint16_t port, const std::atomic<bool>& stop, std::atomic<long>& pages) {
    const std::string request = "GET /index.html&pwd=brindle HTTP/1.1\r\nHost: x\r\n\r\n";
    std::vector<char> buffer(256 * 1024);
    while (!stop) {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            close(fd);
            continue;
        }
        // Keep-alive: one request after the other on the connection, reading each reply whole.
        std::string head;
        while (!stop && send(fd, request.data(), request.size(), MSG_NOSIGNAL) > 0) {
            head.clear();
            std::size_t length = 0;
            std::size_t body = 0;
            bool ok = true;
            while (ok && (head.find("\r\n\r\n") == std::string::npos || body < length)) {
                const ssize_t got = recv(fd, buffer.data(), buffer.size(), 0);
                if (got <= 0) {
                    ok = false;
                    break;
                }
                if (head.find("\r\n\r\n") == std::string::npos) {
                    head.append(buffer.data(), static_cast<std::size_t>(got));
                    const std::size_t end = head.find("\r\n\r\n");
                    if (end != std::string::npos) {
                        const std::size_t at = head.find("Content-Length: ");
                        length = at == std::string::npos ? 0 : std::stoul(head.substr(at + 16));
                        body = head.size() - end - 4;
                    }
                } else {
                    body += static_cast<std::size_t>(got);
                }
            }
            if (!ok) {
                break;
            }
            ++pages;
        }
        close(fd);
    }
}

struct Figures {
    double p50 = 0;
    double p99 = 0;
    double max = 0;
};

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTcpServer router;
    router.listen(QHostAddress::LocalHost);
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const auto webPort = static_cast<std::uint16_t>(probe.serverPort() % 30000 + 2000);
    probe.close();
    QTemporaryDir dir;
    const std::string appDir = bench::prepareProgramFolder(
        dir, "popupsmall=-1\r\nwebexporton=-1\r\nwebexportport=" + std::to_string(webPort) +
                 "\r\nline=callmonitor:127.0.0.1:" + std::to_string(router.serverPort()) + "\r\n");
    {
        std::ofstream calls(appDir + "/config/calls.txt", std::ios::binary);
        for (int i = 0; i < kRecords; ++i) {
            calls << "0" << 30000000 + i << "\tCaller number " << i
                  << "\t4711\t06.12.26\t09:00:00\tCaller hung up\tTelephony\r\n";
        }
    }

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
    const int before = journal.size();
    int call = 0;

    const auto runCalls = [&]() -> Figures {
        std::vector<double> latencies;
        for (int n = 0; n < kCallsPerPhase; ++n) {
            ++call;
            const QByteArray id = QByteArray::number(call % 8);
            const auto written = Clock::now();
            monitor->write("06.12.26 09:00:00;RING;" + id + ";030" +
                           QByteArray::number(1000000 + call) + ";4711;SIP0;\r\n");
            monitor->flush();
            const int expected = call;
            if (!waitUntil([&]() {
                    return ui.shown == expected && journal.size() == before + expected;
                })) {
                std::fprintf(stderr, "call %d did not arrive\n", call);
                std::exit(1);
            }
            latencies.push_back(
                std::chrono::duration<double, std::milli>(ui.shownAt - written).count());
            monitor->write("06.12.26 09:00:09;DISCONNECT;" + id + ";0;\r\n");
            monitor->flush();
            const int index = before + expected;
            waitUntil([&]() { return !journal.recordAt(index).endReason.empty(); });
            // Paced like calls on a real line, so the clients get time between them.
            const auto until = Clock::now() + std::chrono::milliseconds(20);
            waitUntil([until]() { return Clock::now() >= until; });
        }
        std::sort(latencies.begin(), latencies.end());
        return {latencies[latencies.size() / 2],
                latencies[static_cast<std::size_t>(0.99 * (latencies.size() - 1))],
                latencies.back()};
    };

    const Figures quiet = runCalls();
    const long quietRss = statusKb("VmRSS:");

    std::atomic<bool> stop{false};
    std::atomic<long> pages{0};
    std::vector<std::thread> clients;
    for (int i = 0; i < kClients; ++i) {
        clients.emplace_back(fetchPages, webPort, std::cref(stop), std::ref(pages));
    }
    // The page is built before the first client gets it: calls from then on meet the clients
    // reading.
    waitUntil([&pages]() { return pages > 0; });
    const auto busyStart = Clock::now();
    const Figures busy = runCalls();
    const double busySeconds = std::chrono::duration<double>(Clock::now() - busyStart).count();
    const long busyRss = statusKb("VmRSS:");
    stop = true;
    QCoreApplication::processEvents();
    for (std::thread& client : clients) {
        // A client blocked in recv ends when the program closes its connection below.
        client.detach();
    }

    std::printf("RING written -> pop-up requested, journal of %d records, %d calls each\n",
                kRecords, kCallsPerPhase);
    std::printf("  without web clients:       p50 %7.3f ms  p99 %7.3f ms  max %7.3f ms\n",
                quiet.p50, quiet.p99, quiet.max);
    std::printf("  with %d clients on the page: p50 %7.3f ms  p99 %7.3f ms  max %7.3f ms  "
                "(%ld pages of the journal served, %.1f/s)\n",
                kClients, busy.p50, busy.p99, busy.max, pages.load(),
                static_cast<double>(pages.load()) / busySeconds);
    std::printf("  p99 difference %.3f ms (target <= 20 ms)\n", busy.p99 - quiet.p99);
    std::printf("  resident memory: %ld MB without clients, %ld MB with them, peak %ld MB\n",
                quietRss / 1024, busyRss / 1024, statusKb("VmHWM:") / 1024);
    controller.appExit(true);
    std::fflush(stdout);
    std::_Exit(0); // the client threads may still be reading
}
