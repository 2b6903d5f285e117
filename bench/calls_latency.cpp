// Time from a CONNECT_IND queued on the simulated line to its record being in calls.txt, through
// the whole headless program: prompt delivery, decoding, call handling and the journal save.
#include "calls/AppContext.h"
#include "calls/Controller.h"
#include "calls/ControllerUi.h"
#include "calls/EndReason.h"
#include "line/LineTestControl.h"
#include "support/UserPrompt.h"

#include "ProgramBench.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

using bench::Clock;
using bench::waitUntil;

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const std::string appDir = bench::prepareProgramFolder(dir, "");
    const CommandLine commandLine = bench::headlessOnIdleLine(appDir);
    HeadlessPrompt prompt;
    NoControllerUi ui;
    Controller controller(commandLine, appDir, prompt, ui);
    if (!controller.start()) {
        std::fprintf(stderr, "start-up failed\n");
        return 1;
    }
    auto& line = bench::simulatedLine(controller);
    const CallJournal& journal = controller.context().journal;

    constexpr int kCalls = 1000;
    std::vector<double> latencies;
    for (int i = 1; i <= kCalls; ++i) {
        capi::IncomingCallElements call;
        call.plci = 0x100 + static_cast<std::uint32_t>(i);
        call.calledDigits = "4711";
        call.callingDigits = "30" + std::to_string(1000000 + i);
        const auto queued = Clock::now();
        line.injectCall(call);
        if (!waitUntil([&journal, i]() { return journal.size() == i; })) {
            std::fprintf(stderr, "call %d did not arrive\n", i);
            return 1;
        }
        latencies.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - queued).count());
        line.injectHangup(call.plci, kReasonNormalClearing);
        waitUntil([&journal, i]() { return !journal.recordAt(i).endReason.empty(); });
    }
    std::sort(latencies.begin(), latencies.end());
    const auto percentile = [&latencies](double p) {
        return latencies[static_cast<std::size_t>(p * (latencies.size() - 1))];
    };
    std::printf("CONNECT_IND queued -> record in calls.txt, %d calls (headless program)\n", kCalls);
    std::printf("  p50 %.3f ms   p99 %.3f ms   max %.3f ms   (target p99 < 20 ms)\n",
                percentile(0.50), percentile(0.99), latencies.back());
    controller.appExit(true);
    return 0;
}
