// Figures of the desktop: rebuilding a full journal table, the start until the notification
// icon is shown with a full journal and phonebook, and the memory of the idle program.
#include "support/TempDir.h"

#include "calls/AppContext.h"
#include "calls/Controller.h"
#include "support/UserPrompt.h"
#include "ui/AppCommands.h"
#include "ui/DesktopPictures.h"
#include "ui/DesktopUi.h"
#include "ui/JournalWindow.h"
#include "ui/NotificationIcon.h"

#include <QApplication>
#include <QProcess>
#include <QThread>

#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

constexpr int kJournalSize = 4096;
constexpr int kPhonebookSize = 4000;

class SilentCommands : public AppCommands {
public:
    void rejectCall() override {}
    void identify(const std::string&) override {}
    void exitApp() override {}
    std::string latestCallerId() const override { return {}; }
    void playSound(const std::string&) override {}
    void openSettings(bool) override {}
    void checkForUpdate() override {}
    void exitForUpdate() override {}
};

// A settings folder with a full journal, a full phonebook (every journal caller found, by a
// "*" entry near the end for the misses) and a few MSNs.
void writeFullConfig(const TempDir& dir) {
    dir.write("config.dat", "[config]\r\nlanguage=english\r\naudiofeedback=0\r\nplsnd=0\r\n"
                            "popupsmall=-1\r\nTrayBlink=-1\r\n");
    std::string journal;
    for (int i = 0; i < kJournalSize; ++i) {
        journal += "0" + std::to_string(30000000 + i * 3) + "\tM\xFCller\t765432" +
                   std::to_string(i % 10) +
                   "\t06.12.26\t09:15:00\tAnrufer hat aufgelegt\tTelephony\r\n";
    }
    dir.write("calls.txt", journal);
    std::string phonebook;
    for (int i = 0; i < kPhonebookSize; ++i) {
        phonebook += "0" + std::to_string(30000000 + i * 5) + "\tCaller " + std::to_string(i) +
                     "\t0\t\t\r\n";
    }
    dir.write("nn.dat", phonebook);
    std::string msns;
    for (int i = 0; i < 10; ++i) {
        msns += "765432" + std::to_string(i) + "\tLine " + std::to_string(i) + "\t0\t0\r\n";
    }
    dir.write("msn.dat", msns);
    dir.write("empty.scenario", "# nothing happens\n");
}

void BM_RefreshJournalFull(benchmark::State& state) {
    TempDir dir;
    writeFullConfig(dir);
    AppContext context(AppPaths(RUFWACHT_BIN_DIR, dir.path()));
    context.loadSettings();
    context.language.select("english");
    context.loadStores();
    const DesktopPictures pictures = DesktopPictures::load(context.paths.dataFile("res/"));
    SilentCommands commands;
    HeadlessPrompt prompt;
    JournalWindow window(JournalWindowParts::of(context), pictures, commands, prompt,
                         []() { return true; });
    for (auto _ : state) {
        window.refresh(false);
    }
    state.counters["records"] = context.journal.size();
}
BENCHMARK(BM_RefreshJournalFull)->Unit(benchmark::kMillisecond);

// From the controller's first start-up step to the icon in the notification area.
void BM_StartUntilTrayIcon(benchmark::State& state) {
    TempDir dir;
    writeFullConfig(dir);
    for (auto _ : state) {
        CommandLine commandLine;
        commandLine.line = "sim:" + dir.file("empty.scenario");
        commandLine.configDir = dir.path();
        HeadlessPrompt prompt;
        DesktopUi ui(prompt, []() { return true; });
        Controller controller(commandLine, RUFWACHT_BIN_DIR, prompt, ui);
        ui.attach(&controller);
        const auto started = std::chrono::steady_clock::now();
        const bool ok = controller.start();
        const bool shown = ui.trayIcon() != nullptr;
        const auto elapsed = std::chrono::steady_clock::now() - started;
        if (!ok || !shown) {
            state.SkipWithError("start-up failed");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(elapsed).count());
        state.counters["journal"] = controller.context().journal.size();
        state.counters["phonebook"] = controller.context().phonebook.size();
        controller.appExit(true);
    }
}
BENCHMARK(BM_StartUntilTrayIcon)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

long statusKilobytes(qint64 pid, const std::string& key) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key + ":", 0) == 0) {
            std::istringstream fields(line.substr(key.size() + 1));
            long kilobytes = 0;
            fields >> kilobytes;
            return kilobytes;
        }
    }
    return -1;
}

// The real program, idle on the simulated line with a full journal and phonebook.
void printIdleMemory() {
    TempDir dir;
    writeFullConfig(dir);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(RUFWACHT_BIN_DIR "/rufwacht",
                  {QString::fromStdString("--line=sim:" + dir.file("empty.scenario")),
                   QString::fromStdString("--config-dir=" + dir.path())});
    if (!program.waitForStarted(5000)) {
        std::cout << "idle memory: the program did not start\n";
        return;
    }
    QThread::sleep(3);
    const long rss = statusKilobytes(program.processId(), "VmRSS");
    const long peak = statusKilobytes(program.processId(), "VmHWM");
    program.terminate();
    program.waitForFinished(5000);
    std::cout << "idle memory of rufwacht (offscreen, " << kJournalSize << " calls, "
              << kPhonebookSize << " phonebook entries): resident " << rss / 1024.0 << " MiB, peak "
              << peak / 1024.0 << " MiB\n";
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printIdleMemory();
    return 0;
}
