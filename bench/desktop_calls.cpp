// Calls through the whole program in one process (offscreen desktop, simulated line), with a
// journal of 200,000 calls and a phonebook of 20,000 entries:
//   per-call CPU on the desktop beside the headless service;
//   a burst of 200 calls arriving at once beside calls one at a time (RING queued -> record
//   saved);
//   a soak of many calls (100,000 unless given as the first argument): how much the memory
//   grows per call beside what the records themselves take.
#include "calls/AppContext.h"
#include "calls/Controller.h"
#include "calls/ControllerUi.h"
#include "calls/EndReason.h"
#include "line/LineTestControl.h"
#include "support/UserPrompt.h"
#include "ui/DesktopUi.h"

#include "ProgramBench.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

using bench::Clock;
using bench::waitUntil;

namespace {

constexpr int kJournalRecords = 200000;
constexpr int kPhonebookEntries = 20000;
constexpr int kPacedCalls = 200;
constexpr int kBurst = 200;

double cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

long residentBytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            std::istringstream fields(line.substr(6));
            long kilobytes = 0;
            fields >> kilobytes;
            return kilobytes * 1024;
        }
    }
    return -1;
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[static_cast<std::size_t>(p * (values.size() - 1))];
}

// When each record reached the disk: a save that brings the file up to date covers every
// record added before it.
class SaveStamps : public JournalObserver {
public:
    explicit SaveStamps(CallJournal& journal) : m_journal(journal) { journal.addObserver(this); }
    ~SaveStamps() override { m_journal.removeObserver(this); }
    void journalChanging(Change, int) override {}
    void journalChanged(Change change, int index) override {
        if (change == Change::Added) {
            m_unsaved.push_back(index);
        }
    }
    void journalSaved() override {
        const auto now = Clock::now();
        for (const int index : m_unsaved) {
            saved[index] = now;
        }
        m_unsaved.clear();
    }
    std::unordered_map<int, Clock::time_point> saved;

private:
    CallJournal& m_journal;
    std::vector<int> m_unsaved;
};

// One program: its folder, its desktop (or none) and its controller.
class Program {
public:
    Program(bool desktop, int journalRecords, int phonebookEntries) {
        const std::string appDir = bench::prepareProgramFolder(m_dir, "audiofeedback=0\r\n");
        std::ofstream(appDir + "/empty.scenario") << "\n";
        {
            std::ofstream journal(appDir + "/config/calls.txt", std::ios::binary);
            for (int i = 0; i < journalRecords; ++i) {
                journal << "0" << 30000000 + i * 3 << "\tM\xFCller\t4711\t06.12.26\t09:15:00\t"
                        << "Anrufer hat aufgelegt\tTelephony\r\n";
            }
            std::ofstream phonebook(appDir + "/config/nn.dat", std::ios::binary);
            for (int i = 0; i < phonebookEntries; ++i) {
                phonebook << "0" << 30000000 + i * 5 << "\tCaller " << i << "\t0\t\t\r\n";
            }
            std::ofstream(appDir + "/config/msn.dat", std::ios::binary) << "4711\tOffice\t0\t0\r\n";
        }
        CommandLine commandLine;
        commandLine.headless = !desktop;
        commandLine.line = "sim:" + appDir + "/empty.scenario";
        if (desktop) {
            m_desktop = std::make_unique<DesktopUi>(m_prompt, []() { return true; });
            m_ui = m_desktop.get();
        } else {
            m_ui = &m_noUi;
        }
        m_controller = std::make_unique<Controller>(commandLine, appDir, m_prompt, *m_ui);
        if (m_desktop) {
            m_desktop->attach(m_controller.get());
        }
        m_started = m_controller->start() && waitUntil([this]() { return line().isListening(); });
        if (m_started && m_desktop) {
            // The costlier case: the journal window is made (as at the first click on the
            // icon), so every call also goes through its table.
            m_desktop->journalView().showAndActivate();
        }
    }
    ~Program() { m_controller->appExit(true); }

    bool started() const { return m_started; }
    LineTestControl& line() { return bench::simulatedLine(*m_controller); }
    CallJournal& journal() { return m_controller->context().journal; }

    // One call rung and hung up; false when it did not arrive.
    bool call(std::uint32_t plci, Clock::time_point* queued = nullptr) {
        capi::IncomingCallElements ring;
        ring.plci = plci;
        ring.calledDigits = "4711";
        ring.callingDigits = std::to_string(301000000 + plci);
        ring.cip = 1;
        const int before = journal().size();
        if (queued != nullptr) {
            *queued = Clock::now();
        }
        line().injectCall(ring);
        // The desktop's first call reads the journal before it adds to it.
        if (!waitUntil([&]() { return journal().size() > before; })) {
            return false;
        }
        line().injectHangup(plci, kReasonNormalClearing);
        const int index = journal().size();
        return waitUntil([&]() { return !journal().recordAt(index).endReason.empty(); });
    }

private:
    QTemporaryDir m_dir;
    HeadlessPrompt m_prompt;
    NoControllerUi m_noUi;
    std::unique_ptr<DesktopUi> m_desktop;
    ControllerUi* m_ui = nullptr;
    std::unique_ptr<Controller> m_controller;
    bool m_started = false;
};

struct PerCall {
    double firstCallMs = -1;
    double cpuPerCallMs = -1;
    std::vector<double> latencies;
};

PerCall pacedCalls(Program& program) {
    PerCall result;
    std::uint32_t plci = 0x100;
    const auto first = Clock::now();
    if (!program.call(plci++)) {
        return result;
    }
    result.firstCallMs = ms(Clock::now() - first);
    SaveStamps stamps(program.journal());
    const double cpuBefore = cpuMs();
    for (int i = 0; i < kPacedCalls; ++i) {
        Clock::time_point queued;
        if (!program.call(plci++, &queued)) {
            return result;
        }
        const auto saved = stamps.saved.find(program.journal().size());
        if (saved != stamps.saved.end()) {
            result.latencies.push_back(ms(saved->second - queued));
        }
    }
    result.cpuPerCallMs = (cpuMs() - cpuBefore) / kPacedCalls;
    return result;
}

std::vector<double> burst(Program& program) {
    SaveStamps stamps(program.journal());
    const int before = program.journal().size();
    std::vector<Clock::time_point> queued;
    for (int i = 0; i < kBurst; ++i) {
        capi::IncomingCallElements ring;
        ring.plci = 0x10000 + static_cast<std::uint32_t>(i);
        ring.calledDigits = "4711";
        ring.callingDigits = std::to_string(302000000 + i);
        ring.cip = 1;
        queued.push_back(Clock::now());
        program.line().injectCall(ring);
    }
    waitUntil([&]() { return stamps.saved.size() == kBurst; });
    std::vector<double> latencies;
    for (int i = 0; i < kBurst; ++i) {
        const auto saved = stamps.saved.find(before + 1 + i);
        if (saved != stamps.saved.end()) {
            latencies.push_back(ms(saved->second - queued[static_cast<std::size_t>(i)]));
        }
    }
    for (int i = 0; i < kBurst; ++i) {
        program.line().injectHangup(0x10000 + static_cast<std::uint32_t>(i), kReasonNormalClearing);
    }
    waitUntil([&]() { return !program.journal().recordAt(before + kBurst).endReason.empty(); });
    return latencies;
}

// What one journaled call takes in memory as a record: the record and its texts.
std::size_t recordBytes(const JournalRecord& record) {
    std::size_t bytes = sizeof(JournalRecord);
    for (const std::string* text : {&record.number, &record.name, &record.msn, &record.date,
                                    &record.time, &record.endReason, &record.callType}) {
        if (text->capacity() > 15) {
            bytes += text->capacity() + 1;
        }
    }
    return bytes;
}

void soak(int calls) {
    Program program(true, 0, 2000);
    if (!program.started()) {
        std::printf("soak: start-up failed\n");
        return;
    }
    const int warmUp = std::min(2000, calls / 10);
    std::uint32_t plci = 0x100;
    long before = 0;
    for (int i = 0; i < calls; ++i) {
        if (i == warmUp) {
            before = residentBytes();
        }
        if (!program.call(plci++)) {
            std::printf("soak: call %d did not arrive\n", i);
            return;
        }
    }
    const double growth = static_cast<double>(residentBytes() - before) / (calls - warmUp);
    const double record = static_cast<double>(recordBytes(program.journal().recordAt(1)));
    std::printf("soak, %d calls on the desktop: memory grows %.0f bytes per call after %d calls; "
                "a record takes %.0f bytes; ratio %.2f\n",
                calls, growth, warmUp, record, growth / record);
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const int soakCalls = argc > 1 ? std::atoi(argv[1]) : 100000;

    PerCall desktop;
    std::vector<double> burstLatencies;
    {
        Program program(true, kJournalRecords, kPhonebookEntries);
        if (!program.started()) {
            std::printf("desktop start-up failed\n");
            return 1;
        }
        desktop = pacedCalls(program);
        burstLatencies = burst(program);
    }
    PerCall headless;
    std::vector<double> headlessBurst;
    {
        Program program(false, kJournalRecords, kPhonebookEntries);
        if (!program.started()) {
            std::printf("headless start-up failed\n");
            return 1;
        }
        headless = pacedCalls(program);
        headlessBurst = burst(program);
    }
    std::printf("%d calls, journal of %d calls, phonebook of %d entries\n", kPacedCalls,
                kJournalRecords, kPhonebookEntries);
    std::printf("CPU per call (ring and end):  desktop %.3f ms   headless %.3f ms   ratio %.2f "
                "(target desktop <= 5 ms)\n",
                desktop.cpuPerCallMs, headless.cpuPerCallMs,
                desktop.cpuPerCallMs / headless.cpuPerCallMs);
    std::printf("first call (reads the journal): desktop %.1f ms   headless %.1f ms\n",
                desktop.firstCallMs, headless.firstCallMs);
    const double paced = percentile(desktop.latencies, 0.99);
    const double burst = percentile(burstLatencies, 0.99);
    std::printf("RING queued -> record saved, desktop: %d at once p50 %.2f ms p99 %.2f ms; one "
                "at a time p50 %.2f ms p99 %.2f ms; p99 ratio %.1f (target burst p99 <= 20 ms)\n",
                kBurst, percentile(burstLatencies, 0.5), burst, percentile(desktop.latencies, 0.5),
                paced, burst / paced);
    std::printf("the same burst headless: p50 %.2f ms p99 %.2f ms; desktop/headless p99 ratio "
                "%.2f\n",
                percentile(headlessBurst, 0.5), percentile(headlessBurst, 0.99),
                burst / percentile(headlessBurst, 0.99));
    if (soakCalls > 0) {
        soak(soakCalls);
    }
    return 0;
}
