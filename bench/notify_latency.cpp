// Time from a CONNECT_IND queued on the simulated line to the Notify request at a notification
// server on a private session bus, through the program's call handling and its desktop
// notifications; beside it the same request sent by gdbus, a process per notification.
#include "calls/AppContext.h"
#include "calls/Controller.h"
#include "calls/ControllerUi.h"
#include "calls/EndReason.h"
#include "line/LineTestControl.h"
#include "outputs/DesktopNotifications.h"
#include "support/UserPrompt.h"

#include "ProgramBench.h"
#include "e2e/SessionBus.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

using bench::Clock;
using bench::waitUntil;

namespace {

void printFigures(const char* what, std::vector<double> latencies) {
    std::sort(latencies.begin(), latencies.end());
    const auto percentile = [&latencies](double p) {
        return latencies[static_cast<std::size_t>(p * static_cast<double>(latencies.size() - 1))];
    };
    std::printf("%s, %zu notifications\n  p50 %.3f ms   p99 %.3f ms   max %.3f ms\n", what,
                latencies.size(), percentile(0.50), percentile(0.99), latencies.back());
}

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    PrivateSessionBus bus;
    if (!bus.start()) {
        std::fprintf(stderr, "dbus-daemon did not start\n");
        return 1;
    }
    RecordingNotificationServer server(bus.connect("server"), {"actions", "body", "body-markup"});
    server.registerOnBus();

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
    DesktopNotifications notifications(controller.context().language, "", {}, {},
                                       bus.connect("program"));
    notifications.probe();
    controller.callEvents()->subscribe(
        [&notifications](const CallEvent& event) { notifications.onCallEvent(event); });
    if (!waitUntil([&notifications]() { return notifications.isAvailable(); })) {
        std::fprintf(stderr, "the notification server did not answer\n");
        return 1;
    }

    auto& line = bench::simulatedLine(controller);
    constexpr int kCalls = 500;
    std::vector<double> latencies;
    std::vector<double> sent;
    Clock::time_point queued;
    QObject::connect(
        &notifications, &DesktopNotifications::notifySent,
        [&sent, &queued](std::uint32_t) { sent.push_back(millisecondsSince(queued)); });
    for (int i = 1; i <= kCalls; ++i) {
        capi::IncomingCallElements call;
        call.plci = 0x100 + static_cast<std::uint32_t>(i);
        call.calledDigits = "4711";
        call.callingDigits = "30" + std::to_string(1000000 + i);
        const std::size_t before = server.notifications().size();
        queued = Clock::now();
        line.injectCall(call);
        if (!waitUntil([&server, before]() { return server.notifications().size() > before; })) {
            std::fprintf(stderr, "call %d was not notified\n", i);
            return 1;
        }
        latencies.push_back(millisecondsSince(queued));
        line.injectHangup(call.plci, kReasonAnsweredElsewhere);
        waitUntil([&notifications]() { return notifications.shownCount() == 0; });
    }
    printFigures("CONNECT_IND queued -> Notify sent by the program (target p99 <= 20 ms)", sent);
    printFigures("CONNECT_IND queued -> Notify at the server, through the bus daemon", latencies);

    std::vector<double> peer;
    QStringList arguments{"call",
                          "--address",
                          bus.address(),
                          "--dest",
                          "org.freedesktop.Notifications",
                          "--object-path",
                          "/org/freedesktop/Notifications",
                          "--method",
                          "org.freedesktop.Notifications.Notify",
                          "gdbus",
                          "0",
                          "",
                          "0301234567",
                          "Berlin",
                          "[]",
                          "{}",
                          "0"};
    for (int i = 0; i < 50; ++i) {
        const std::size_t before = server.notifications().size();
        const auto started = Clock::now();
        QProcess gdbus;
        gdbus.start("gdbus", arguments);
        if (!waitUntil([&server, before]() { return server.notifications().size() > before; })) {
            std::fprintf(stderr, "gdbus did not notify\n");
            break;
        }
        peer.push_back(millisecondsSince(started));
        gdbus.waitForFinished(5000);
    }
    if (!peer.empty()) {
        printFigures("peer: gdbus call ... Notify, process start -> Notify at the server", peer);
    }
    controller.appExit(true);
    return 0;
}
