// Completing old records: a journal of 200,000 records with 1,000 calls open at once (as a
// call-monitor peer cycling connection ids leaves it), each ended oldest first. Prints the time
// and the bytes written per completion, beside what replacing the whole file costs.
#include "stores/CallJournal.h"
#include "support/SafeSave.h"
#include "support/TextFile.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

constexpr int kRecords = 200000;
constexpr int kOpenCalls = 1000;

// Bytes this process has handed to write calls so far (Linux).
long long bytesWritten() {
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value) {
        if (key == "wchar:") {
            return value;
        }
    }
    return -1;
}

double millisSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace

int main() {
    std::random_device seed;
    const auto dir =
        std::filesystem::temp_directory_path() / ("rufwacht-old-record-" + std::to_string(seed()));
    std::filesystem::create_directories(dir);
    const auto path = (dir / "calls.txt").string();
    {
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < kRecords; ++i) {
            out << "0" << 30000000 + i
                << "\tJ\xFCrgen Gro\xDF\t1234567\t01.02.2024\t10:11:12\tNormales "
                   "Ausl\xF6sen\tSprache\r\n";
        }
    }
    CallJournal journal;
    journal.load(path);
    const int first = journal.size() + 1;
    for (int i = 0; i < kOpenCalls; ++i) {
        journal.add("0351" + std::to_string(i), "Neu", "1234567", "02.02.2024", "11:12:13",
                    "Sprache");
        journal.save();
    }
    const long long before = bytesWritten();
    const auto start = std::chrono::steady_clock::now();
    bool saved = true;
    for (int i = 0; i < kOpenCalls; ++i) {
        journal.setEndReason(first + i, "Unbekannt");
        saved = journal.save().ok() && saved;
    }
    const double millis = millisSince(start) / kOpenCalls;
    const long long bytes = (bytesWritten() - before) / kOpenCalls;

    const auto whole = readFileBytes(path).value_or(std::string());
    const long long beforeWhole = bytesWritten();
    const auto wholeStart = std::chrono::steady_clock::now();
    saved = safeSave(path, whole).ok() && saved;
    const double wholeMillis = millisSince(wholeStart);
    const long long wholeBytes = bytesWritten() - beforeWhole;

    std::printf("journal of %d records, %d calls open, each ended oldest first\n", kRecords,
                kOpenCalls);
    std::printf("completion in place:    %8.3f ms, %9lld bytes written per call\n", millis, bytes);
    std::printf("whole file replaced:    %8.3f ms, %9lld bytes written per call\n", wholeMillis,
                wholeBytes);
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    return saved ? 0 : 1;
}
