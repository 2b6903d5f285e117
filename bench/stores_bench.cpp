// Timings of the stores: a phonebook change and miss, journal load and save, origin lookups.
#include "stores/CallJournal.h"
#include "stores/OriginLookup.h"
#include "stores/Phonebook.h"
#include "stores/StoreWriter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

const std::string kShippedTables = std::string(RUFWACHT_SOURCE_DIR) + "/data/prefix/";

// A scratch folder removed when the program ends.
class ScratchDir {
public:
    ScratchDir() {
        std::random_device seed;
        m_path =
            std::filesystem::temp_directory_path() / ("rufwacht-bench-" + std::to_string(seed()));
        std::filesystem::create_directories(m_path);
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string write(const std::string& name, const std::string& bytes) const {
        const auto path = (m_path / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

private:
    std::filesystem::path m_path;
};

const ScratchDir& scratch() {
    static ScratchDir dir;
    return dir;
}

std::string phonebookBytes(int entries) {
    std::string bytes;
    for (int i = 0; i < entries; ++i) {
        const std::string number = "0" + std::to_string(30000000 + i * 7);
        bytes += number + "\tM\xFCller " + std::to_string(i % 997) + "\t0\t\t\r\n";
    }
    return bytes + "\r\n";
}

std::string journalBytes(int records) {
    std::string bytes;
    for (int i = 0; i < records; ++i) {
        bytes += "0" + std::to_string(30000000 + i) +
                 "\tJ\xFCrgen Gro\xDF\t1234567\t01.02.2024\t"
                 "10:11:12\tNormales Ausl\xF6sen\tSprache\r\n";
    }
    return bytes;
}

void BM_PhonebookChange(benchmark::State& state) {
    const std::string base = phonebookBytes(static_cast<int>(state.range(0)));
    Phonebook phonebook;
    for (auto _ : state) {
        state.PauseTiming();
        const auto path = scratch().write("nn.dat", base);
        phonebook.load(path);
        state.ResumeTiming();
        phonebook.add("0351123456", "Neu", false, "", "");
    }
    state.counters["entries"] = phonebook.size();
}
BENCHMARK(BM_PhonebookChange)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_PhonebookNameOfMiss(benchmark::State& state) {
    Phonebook phonebook;
    phonebook.load(
        scratch().write("nn-miss.dat", phonebookBytes(static_cast<int>(state.range(0)))));
    for (auto _ : state) {
        benchmark::DoNotOptimize(phonebook.nameOf("0999999999"));
    }
}
BENCHMARK(BM_PhonebookNameOfMiss)->Arg(2000)->Arg(20000)->Unit(benchmark::kMicrosecond);

// Loading the journal, and loading it and writing it whole.
void BM_Journal(benchmark::State& state, bool save) {
    const auto path = scratch().write(save ? "calls-save.txt" : "calls-load.txt",
                                      journalBytes(static_cast<int>(state.range(0))));
    CallJournal journal;
    for (auto _ : state) {
        journal.load(path);
        if (save) {
            journal.save();
        }
    }
    state.counters["records"] = journal.size();
}
BENCHMARK_CAPTURE(BM_Journal, Load, false)->Arg(4096)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Journal, LoadAndSave, true)
    ->Arg(4096)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

void BM_OriginTablesLoad(benchmark::State& state) {
    OriginLookup lookup;
    for (auto _ : state) {
        benchmark::DoNotOptimize(lookup.load("0049", kShippedTables));
    }
    state.counters["table_bytes"] = static_cast<double>(lookup.memoryBytes());
}
BENCHMARK(BM_OriginTablesLoad)->Unit(benchmark::kMillisecond);

void BM_OriginOfNational(benchmark::State& state) {
    OriginLookup lookup;
    lookup.load("0049", kShippedTables);
    for (auto _ : state) {
        benchmark::DoNotOptimize(lookup.originOf("021291234"));
    }
}
BENCHMARK(BM_OriginOfNational)->Unit(benchmark::kMicrosecond);

// The foreign table is read from disk for every international number; 0049.dat is the largest.
void BM_OriginOfInternational(benchmark::State& state, const char* number) {
    OriginLookup lookup;
    lookup.load("0043", kShippedTables);
    for (auto _ : state) {
        benchmark::DoNotOptimize(lookup.originOf(number));
    }
}
BENCHMARK_CAPTURE(BM_OriginOfInternational, Austria, "0043316555")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_OriginOfInternational, Germany, "0049212123456")
    ->Unit(benchmark::kMicrosecond);

double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double median(std::vector<double> values) {
    std::ranges::sort(values);
    return values[values.size() / 2];
}

// The phonebook's miss and change at 2,000 and at 20,000 entries, side by side. A change is
// timed alone, as the user makes it: until add() returns, with the save in the background as
// in the program, and until the file is on the disk.
void printPhonebookScaling() {
    struct Figures {
        double missUs, addCpuMs, addWallMs, savedMs, syncWallMs;
    };
    const auto measure = [](int entries) {
        Phonebook phonebook;
        phonebook.load(scratch().write("nn-scale.dat", phonebookBytes(entries)));
        constexpr int kMisses = 200000;
        auto start = std::chrono::steady_clock::now();
        std::size_t length = 0;
        for (int i = 0; i < kMisses; ++i) {
            length += phonebook.nameOf(i % 2 == 0 ? "0999999999" : "0451234567").size();
        }
        benchmark::DoNotOptimize(length);
        const double missUs =
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count() /
            kMisses;
        const auto sinceMs = [](std::chrono::steady_clock::time_point from) {
            return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                             from)
                .count();
        };
        constexpr int kAdds = 31;
        StoreWriter writer;
        std::vector<double> walls, cpus, saved, sync;
        for (int i = 0; i < 2 * kAdds; ++i) {
            const bool inBackground = i % 2 == 0;
            phonebook.writeThrough(inBackground ? &writer : nullptr);
            const double cpu = threadCpuMs();
            start = std::chrono::steady_clock::now();
            phonebook.add("0351" + std::to_string(i), "Neu " + std::to_string(i % 3), false, "",
                          "");
            if (!inBackground) {
                sync.push_back(sinceMs(start));
                continue;
            }
            walls.push_back(sinceMs(start));
            cpus.push_back(threadCpuMs() - cpu);
            writer.finish();
            saved.push_back(sinceMs(start));
        }
        return Figures{missUs, median(cpus), median(walls), median(saved), median(sync)};
    };
    const Figures small = measure(2000);
    const Figures large = measure(20000);
    std::printf("phonebook lookup miss:  2,000 entries %.3f us   20,000 entries %.3f us   ratio "
                "%.2f (target 20,000 <= 2 us)\n",
                small.missUs, large.missUs, large.missUs / small.missUs);
    std::printf("phonebook add one entry (median): 2,000 entries %.2f ms (CPU %.2f ms)   20,000 "
                "entries %.2f ms (CPU %.2f ms)   ratio %.2f (target 20,000 <= 5 ms)\n",
                small.addWallMs, small.addCpuMs, large.addWallMs, large.addCpuMs,
                large.addWallMs / small.addWallMs);
    std::printf("phonebook add one entry until on the disk (median): 2,000 entries %.2f ms   "
                "20,000 entries %.2f ms   (saved while the caller waits: %.2f ms, %.2f ms)\n",
                small.savedMs, large.savedMs, small.syncWallMs, large.syncWallMs);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printPhonebookScaling();
    return 0;
}
