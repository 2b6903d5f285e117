// Time from a RING line written by the router's call monitor to its record being in calls.txt
// and the pop-up requested, through the whole headless program: TCP on 127.0.0.1, line
// splitting and parsing, call handling and the journal save.
#include "calls/AppContext.h"
#include "calls/Controller.h"
#include "calls/ControllerUi.h"
#include "support/UserPrompt.h"

#include "ProgramBench.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

using bench::Clock;
using bench::waitUntil;

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTcpServer router;
    router.listen(QHostAddress::LocalHost);
    QTemporaryDir dir;
    const std::string appDir = bench::prepareProgramFolder(
        dir, "popupsmall=-1\r\nline=callmonitor:127.0.0.1:" + std::to_string(router.serverPort()) +
                 "\r\n");

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

    constexpr int kCalls = 1000;
    std::vector<double> latencies;
    for (int i = 1; i <= kCalls; ++i) {
        const QByteArray id = QByteArray::number(i % 8);
        const QByteArray caller = "030" + QByteArray::number(1000000 + i);
        const auto written = Clock::now();
        monitor->write("06.12.26 09:00:00;RING;" + id + ";" + caller + ";4711;SIP0;\r\n");
        monitor->flush();
        if (!waitUntil([&ui, &journal, i]() { return ui.shown == i && journal.size() == i; })) {
            std::fprintf(stderr, "call %d did not arrive\n", i);
            return 1;
        }
        latencies.push_back(
            std::chrono::duration<double, std::milli>(ui.shownAt - written).count());
        monitor->write("06.12.26 09:00:09;DISCONNECT;" + id + ";0;\r\n");
        monitor->flush();
        waitUntil([&journal, i]() { return !journal.recordAt(i).endReason.empty(); });
    }
    std::sort(latencies.begin(), latencies.end());
    const auto percentile = [&latencies](double p) {
        return latencies[static_cast<std::size_t>(p * (latencies.size() - 1))];
    };
    std::printf("RING written -> record in calls.txt and pop-up requested, %d calls (headless "
                "program, call monitor on 127.0.0.1)\n",
                kCalls);
    std::printf("  p50 %.3f ms   p99 %.3f ms   max %.3f ms   (target p99 < 20 ms)\n",
                percentile(0.50), percentile(0.99), latencies.back());
    controller.appExit(true);
    return 0;
}
