// Crash consistency: the real program on the simulated line, calls streaming in at 50 a second
// into a journal of 200,000 records, killed with SIGKILL at random moments (while it loads,
// appends a call or rewrites an end reason). After every kill each file must load, every record
// that was on disk before the start must still be there, and the temporary files a kill leaves
// must be gone once the program has started again.
//   bench_crash_stress [KILLS (1000)] [RECORDS (200000)]
#include "ProgramProcess.h"

#include "stores/CallJournal.h"
#include "stores/MsnList.h"
#include "stores/Phonebook.h"
#include "stores/Settings.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <thread>

namespace {

namespace fs = std::filesystem;

constexpr double kRingSeconds = 0.01; // with the gap: 50 calls a second
constexpr double kGapSeconds = 0.01;
constexpr int kCallsPerStart = 1000;

struct Key {
    std::string number, msn, date, time;
    bool operator==(const Key&) const = default;
};

std::vector<Key> keysOf(const CallJournal& journal) {
    std::vector<Key> keys;
    keys.reserve(static_cast<std::size_t>(journal.size()));
    for (int i = 1; i <= journal.size(); ++i) {
        const auto& r = journal.recordAt(i);
        keys.push_back({r.number, r.msn, r.date, r.time});
    }
    return keys;
}

std::set<std::string> temporaries(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name.find(".tmp-") != std::string::npos) {
            names.insert(name);
        }
    }
    return names;
}

void writeStartingFiles(const fs::path& config, int records) {
    fs::create_directories(config);
    std::ofstream(config / "config.dat", std::ios::binary) << "[config]\r\nlanguage=english\r\n";
    std::ofstream(config / "nn.dat", std::ios::binary)
        << "\r\n0301234567\tErika M\xFCller\t0\t\t\r\n0891*\tM\xFCnchen\t-1\t\t\r\n";
    std::ofstream(config / "msn.dat", std::ios::binary) << "\r\n1\tB\xFCro\t0\t0\r\n";
    std::ofstream journal(config / "calls.txt", std::ios::binary);
    for (int i = 0; i < records; ++i) {
        journal << "0" << 30000000 + i
                << "\tJ\xFCrgen Gro\xDF\t1\t01.02.2024\t10:11:12\tCaller hung up\tSpeech\r\n";
    }
}

} // namespace

int main(int argc, char** argv) {
    const int kills = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int records = argc > 2 ? std::atoi(argv[2]) : 200000;
    std::random_device seed;
    std::mt19937 random(seed());
    const fs::path dir = fs::temp_directory_path() / ("rufwacht-crash-" + std::to_string(seed()));
    const fs::path config = dir / "config";
    writeStartingFiles(config, records);
    bench::writeCallStream(dir / "stream.scenario", kCallsPerStart, kRingSeconds, kGapSeconds);
    ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    const std::vector<std::string> arguments{"--headless", "--config-dir=" + config.string(),
                                             "--line=sim:" + (dir / "stream.scenario").string()};
    const std::string program = RUFWACHT_BIN_DIR "/rufwacht";

    CallJournal before;
    if (!before.load((config / "calls.txt").string())) {
        std::fprintf(stderr, "the starting journal does not load\n");
        return 2;
    }
    std::vector<Key> onDisk = keysOf(before);
    const std::size_t startRecords = onDisk.size();
    int unloadable = 0;
    int lostRecords = 0;
    int killsLeavingTemporaries = 0;
    int temporariesNotCleaned = 0;
    std::set<std::string> leftByLastKill;
    std::uniform_int_distribution<int> delayMs(150, 2500);
    const auto started = std::chrono::steady_clock::now();

    for (int kill = 1; kill <= kills; ++kill) {
        {
            bench::ProgramProcess rufwacht(program, arguments);
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs(random)));
            rufwacht.end(SIGKILL);
        }
        const auto left = temporaries(config);
        for (const auto& name : leftByLastKill) {
            temporariesNotCleaned += left.contains(name) ? 1 : 0;
        }
        killsLeavingTemporaries += left.empty() ? 0 : 1;
        leftByLastKill = left;

        CallJournal journal;
        Phonebook phonebook;
        MsnList msns;
        SettingsRecord settings;
        loadSettings(settings, (config / "config.dat").string());
        const bool loaded = journal.load((config / "calls.txt").string()) &&
                            phonebook.load((config / "nn.dat").string()) &&
                            msns.load((config / "msn.dat").string()) && phonebook.size() == 2 &&
                            msns.size() == 1;
        unloadable += loaded ? 0 : 1;
        const auto now = keysOf(journal);
        int lost = 0;
        for (std::size_t i = 0; i < onDisk.size(); ++i) {
            lost += i < now.size() && now[i] == onDisk[i] ? 0 : 1;
        }
        lostRecords += lost;
        if (!loaded || lost > 0) {
            std::printf("kill %d: %s, %d records lost\n", kill,
                        loaded ? "files load" : "A FILE DOES NOT LOAD", lost);
        }
        onDisk = now;
        if (kill % 50 == 0 || kill == kills) {
            std::printf("%d kills, journal %zu records\n", kill, onDisk.size());
            std::fflush(stdout);
        }
    }
    // A last start cleans what the last kill left; it ends in order.
    {
        bench::ProgramProcess rufwacht(program, arguments);
        std::this_thread::sleep_for(std::chrono::seconds(3));
        rufwacht.end(SIGTERM);
    }
    const auto leftAtEnd = temporaries(config);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    std::printf(
        "\ncrash stress: %d SIGKILLs in %.0f s, journal %zu -> %zu records (calls at 50/s)\n",
        kills, seconds, startRecords, onDisk.size());
    std::printf("kills after which a file did not load:        %d\n", unloadable);
    std::printf("records on disk before a start, then missing: %d\n", lostRecords);
    std::printf("kills that left a temporary file:             %d\n", killsLeavingTemporaries);
    std::printf("temporary files not removed by the next start: %d, left at the end: %zu\n",
                temporariesNotCleaned, leftAtEnd.size());
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    return unloadable == 0 && lostRecords == 0 && temporariesNotCleaned == 0 && leftAtEnd.empty()
               ? 0
               : 1;
}
