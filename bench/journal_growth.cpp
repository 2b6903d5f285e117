// Growth of the journal: 10,000 calls into a journal of 200,000 records, each call added and
// saved when it comes in and saved again with its end reason, as the call handling does. Prints
// the mean time per call of the first and the last thousand; they should be alike.
#include "stores/CallJournal.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

constexpr int kRecords = 200000;
constexpr int kCalls = 10000;
constexpr int kWindow = 1000;

std::filesystem::path writeJournal() {
    std::random_device seed;
    const auto dir =
        std::filesystem::temp_directory_path() / ("rufwacht-growth-" + std::to_string(seed()));
    std::filesystem::create_directories(dir);
    std::ofstream out(dir / "calls.txt", std::ios::binary);
    for (int i = 0; i < kRecords; ++i) {
        out << "0" << 30000000 + i
            << "\tJ\xFCrgen Gro\xDF\t1234567\t01.02.2024\t10:11:12\tNormales "
               "Ausl\xF6sen\tSprache\r\n";
    }
    return dir;
}

} // namespace

int main() {
    const auto dir = writeJournal();
    CallJournal journal;
    journal.load((dir / "calls.txt").string());
    std::vector<double> millis;
    millis.reserve(kCalls);
    for (int i = 0; i < kCalls; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const int index = journal.add("0351" + std::to_string(i), "Neu", "1234567", "02.02.2024",
                                      "11:12:13", "Sprache");
        journal.save();
        journal.setEndReason(index, "Normales Ausl\xC3\xB6sen");
        journal.save();
        millis.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    const auto mean = [&millis](int from) {
        double sum = 0;
        for (int i = from; i < from + kWindow; ++i) {
            sum += millis[static_cast<std::size_t>(i)];
        }
        return sum / kWindow;
    };
    std::printf("journal of %d records, %d calls (add, save, end reason, save)\n", kRecords,
                kCalls);
    std::printf("first %d calls: %.3f ms per call\n", kWindow, mean(0));
    std::printf("last %d calls:  %.3f ms per call\n", kWindow, mean(kCalls - kWindow));
    std::printf("records now: %d\n", journal.size());
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    return journal.size() == kRecords + kCalls ? 0 : 1;
}
