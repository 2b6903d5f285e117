// Soak: 100,000 simulated calls in one run of the real program. Prints its resident memory
// after warm-up and then every tenth of the calls (it should stay flat), its open file
// descriptors after warm-up and at the end (they should be equal), and CPU time per call.
//   bench_soak [CALLS (100000)]
#include "ProgramProcess.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>

namespace {

namespace fs = std::filesystem;

constexpr int kWarmUpCalls = 2000;
// 50 calls a second. Each call is written to disk twice (ring, end reason); a call offered on a
// PLCI the program is still clearing is dropped by the simulated line, so a program that falls
// behind shows as fewer calls journaled than offered.
constexpr double kRingSeconds = 0.01;
constexpr double kGapSeconds = 0.01;
constexpr auto kStalled = std::chrono::seconds(20);

// Records in the journal: its lines that hold fields.
int journalRecords(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    int records = 0;
    while (std::getline(in, line)) {
        records += line.find('\t') != std::string::npos ? 1 : 0;
    }
    return records;
}

} // namespace

int main(int argc, char** argv) {
    const int calls = argc > 1 ? std::atoi(argv[1]) : 100000;
    std::random_device seed;
    const fs::path dir = fs::temp_directory_path() / ("rufwacht-soak-" + std::to_string(seed()));
    const fs::path config = dir / "config";
    fs::create_directories(config);
    std::ofstream(config / "config.dat", std::ios::binary) << "[config]\r\nlanguage=english\r\n";
    bench::writeCallStream(dir / "soak.scenario", calls, kRingSeconds, kGapSeconds);
    ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    const fs::path journal = config / "calls.txt";

    const auto started = std::chrono::steady_clock::now();
    bench::ProgramProcess rufwacht(RUFWACHT_BIN_DIR "/rufwacht",
                                   {"--headless", "--config-dir=" + config.string(),
                                    "--line=sim:" + (dir / "soak.scenario").string()});
    // Waits until the journal holds the records, or stops growing.
    const auto waitFor = [&](int records) {
        int done = 0;
        int seen = 0;
        auto grew = std::chrono::steady_clock::now();
        while ((done = journalRecords(journal)) < records) {
            if (done != seen) {
                seen = done;
                grew = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - grew > kStalled) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            if (::waitpid(rufwacht.pid(), nullptr, WNOHANG) != 0) {
                std::fprintf(stderr, "the program ended after %d calls\n", done);
                std::exit(2);
            }
        }
        return done;
    };

    const int warm = waitFor(kWarmUpCalls);
    const int descriptorsBefore = rufwacht.openDescriptors();
    const double cpuBefore = rufwacht.cpuSeconds();
    std::printf("soak: %d calls (ring %.0f ms, gap %.0f ms)\n", calls, kRingSeconds * 1000,
                kGapSeconds * 1000);
    std::printf("%8s %10s\n", "calls", "RSS kB");
    std::printf("%8d %10ld\n", warm, rufwacht.residentKb());
    long firstRss = rufwacht.residentKb();
    long lastRss = firstRss;
    for (int step = 1; step <= 10; ++step) {
        const int done = waitFor(std::max(warm, calls * step / 10));
        lastRss = rufwacht.residentKb();
        std::printf("%8d %10ld\n", done, lastRss);
        std::fflush(stdout);
    }
    const int descriptorsAfter = rufwacht.openDescriptors();
    const double cpuAfter = rufwacht.cpuSeconds();
    const int status = rufwacht.end(SIGTERM);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const int records = journalRecords(journal);

    std::printf("calls offered %d, journaled %d in %.0f s (%.1f calls/s)\n", calls, records,
                seconds, records / seconds);
    std::printf("resident memory after warm-up %ld kB, at the end %ld kB (%+ld kB)\n", firstRss,
                lastRss, lastRss - firstRss);
    std::printf("open descriptors after warm-up %d, at the end %d\n", descriptorsBefore,
                descriptorsAfter);
    std::printf("CPU time per call: %.3f ms\n",
                (cpuAfter - cpuBefore) * 1000.0 / std::max(1, records - warm));
    std::printf("exit: %s\n", WIFEXITED(status) && WEXITSTATUS(status) == 0 ? "clean" : "FAILED");
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    return records == calls && descriptorsAfter <= descriptorsBefore && WIFEXITED(status) &&
                   WEXITSTATUS(status) == 0
               ? 0
               : 1;
}
