// Start to the icon in the notification area, and memory once idle: Rufwacht with a journal of
// 20,000 calls and a phonebook of 2,000 entries beside the bare Qt tray program, on one virtual
// screen (Xvfb) with trayer as the notification area. The icon counts as shown when the tray
// takes its window in (a ReparentNotify from the root window).
#include "e2e/VirtualDesktop.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kJournalRecords = 20000;
constexpr int kPhonebookEntries = 2000;
constexpr int kRuns = 5;

struct Figures {
    double startMs = -1;
    double cpuMs = -1; // on the processor until the icon was shown, all threads
    double residentMiB = -1;
};

// The time all threads of the process have run, from the scheduler's statistics: unlike the
// wall time it hardly depends on what else the machine does.
double cpuMs(qint64 pid) {
    double nanoseconds = 0;
    std::error_code error;
    for (const auto& task :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream stat(task.path() / "schedstat");
        double running = 0;
        if (stat >> running) {
            nanoseconds += running;
        }
    }
    return nanoseconds / 1e6;
}

double residentMiB(qint64 pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            std::istringstream fields(line.substr(6));
            double kilobytes = 0;
            fields >> kilobytes;
            return kilobytes / 1024.0;
        }
    }
    return -1;
}

// Starts the program and waits until the tray has taken its icon in; then, idle, its memory.
Figures measure(const QString& display, const QString& program, const QStringList& arguments,
                const QString& runtimeDir) {
    Figures figures;
    xcb_connection_t* x = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    if (xcb_connection_has_error(x)) {
        return figures;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", display);
    environment.insert("XDG_RUNTIME_DIR", runtimeDir);
    environment.remove("QT_QPA_PLATFORM");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("DBUS_SESSION_BUS_ADDRESS"); // the tray of the X server, not one on D-Bus
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const auto started = Clock::now();
    process.start(program, arguments);
    const auto deadline = started + std::chrono::seconds(20);
    while (Clock::now() < deadline && figures.startMs < 0) {
        xcb_generic_event_t* event = xcb_poll_for_event(x);
        if (event == nullptr) {
            QThread::usleep(200);
            continue;
        }
        if ((event->response_type & 0x7f) == XCB_REPARENT_NOTIFY) {
            const auto* reparent = reinterpret_cast<xcb_reparent_notify_event_t*>(event);
            if (reparent->parent != screen->root) {
                figures.startMs =
                    std::chrono::duration<double, std::milli>(Clock::now() - started).count();
                figures.cpuMs = cpuMs(process.processId());
            }
        }
        free(event);
    }
    xcb_disconnect(x);
    QThread::sleep(2);
    figures.residentMiB = residentMiB(process.processId());
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(2000);
    }
    return figures;
}

void writeData(const std::string& configDir) {
    std::filesystem::create_directories(configDir);
    std::ofstream(configDir + "/config.dat")
        << "[config]\r\nlanguage=english\r\naudiofeedback=0\r\nplsnd=0\r\npopupsmall=-1\r\n";
    std::ofstream journal(configDir + "/calls.txt", std::ios::binary);
    for (int i = 0; i < kJournalRecords; ++i) {
        journal << "0" << 30000000 + i * 3 << "\tM\xFCller\t765432" << i % 10
                << "\t06.12.26\t09:15:00\tAnrufer hat aufgelegt\tTelephony\r\n";
    }
    std::ofstream phonebook(configDir + "/nn.dat", std::ios::binary);
    for (int i = 0; i < kPhonebookEntries; ++i) {
        phonebook << "0" << 30000000 + i * 5 << "\tCaller " << i << "\t0\t\t\r\n";
    }
    phonebook << "\r\n";
    std::ofstream msns(configDir + "/msn.dat", std::ios::binary);
    for (int i = 0; i < 10; ++i) {
        msns << "765432" << i << "\tLine " << i << "\t0\t0\r\n";
    }
    std::ofstream(configDir + "/empty.scenario") << "# nothing happens\n";
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (!VirtualDesktop::toolsPresent()) {
        std::printf("Xvfb, trayer or xdotool missing: nothing measured\n");
        return 0;
    }
    VirtualDesktop desktop;
    if (!desktop.start()) {
        std::printf("the virtual screen did not start\n");
        return 1;
    }
    QTemporaryDir dir;
    const std::string configDir = dir.path().toStdString() + "/config";
    writeData(configDir);
    const QString rufwacht = RUFWACHT_BIN_DIR "/rufwacht";
    const QString bare = QCoreApplication::applicationDirPath() + "/bench_bare_tray";
    const QString icon = RUFWACHT_BIN_DIR "/res/phoneblack.ico";
    const QStringList rufwachtArguments = {
        QString::fromStdString("--line=sim:" + configDir + "/empty.scenario"),
        QString::fromStdString("--config-dir=" + configDir)};

    std::vector<double> ownStart, ownCpu, ownMemory, bareStart, bareCpu, bareMemory;
    for (int run = 0; run < kRuns; ++run) {
        const Figures own = measure(desktop.display(), rufwacht, rufwachtArguments, dir.path());
        const Figures peer = measure(desktop.display(), bare, {icon}, dir.path());
        ownStart.push_back(own.startMs);
        ownCpu.push_back(own.cpuMs);
        ownMemory.push_back(own.residentMiB);
        bareStart.push_back(peer.startMs);
        bareCpu.push_back(peer.cpuMs);
        bareMemory.push_back(peer.residentMiB);
    }
    const double a = median(ownStart), b = median(bareStart);
    const double c = median(ownMemory), d = median(bareMemory);
    const double e = median(ownCpu), f = median(bareCpu);
    std::printf("Xvfb + trayer, median of %d runs; rufwacht with %d calls and %d phonebook "
                "entries\n",
                kRuns, kJournalRecords, kPhonebookEntries);
    std::printf("start to tray icon:  rufwacht %7.1f ms   bare Qt tray %7.1f ms   ratio %.2f "
                "(target <= 1.5)\n",
                a, b, a / b);
    std::printf("CPU to tray icon:    rufwacht %7.1f ms   bare Qt tray %7.1f ms   ratio %.2f "
                "(all threads; hardly moved by other load)\n",
                e, f, e / f);
    std::printf("idle memory (RSS):   rufwacht %7.1f MiB  bare Qt tray %7.1f MiB  ratio %.2f "
                "(target <= 1.5)\n",
                c, d, c / d);
    return 0;
}
