// Timings of the stores: a phonebook change and miss, journal load and save, origin lookups.
#include "stores/CallJournal.h"
#include "stores/OriginLookup.h"
#include "stores/Phonebook.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

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
    const std::string base = phonebookBytes(4000);
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
BENCHMARK(BM_PhonebookChange)->Unit(benchmark::kMillisecond);

void BM_PhonebookNameOfMiss(benchmark::State& state) {
    Phonebook phonebook;
    phonebook.load(scratch().write("nn-miss.dat", phonebookBytes(4000)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(phonebook.nameOf("0999999999"));
    }
}
BENCHMARK(BM_PhonebookNameOfMiss)->Unit(benchmark::kMicrosecond);

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

} // namespace

BENCHMARK_MAIN();
