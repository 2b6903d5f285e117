// Address books: reading a 20,000-contact vCard file into the index, and finding a caller in it.
#include "contacts/ContactIndex.h"
#include "contacts/VCardReader.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kContacts = 20000;

// Each contact has three numbers in the forms address books write them.
std::string number(int contact, int which) {
    const std::string digits = std::to_string(1000000 + contact);
    switch (which) {
    case 0:
        return "+49 30 " + digits;
    case 1:
        return "0171/" + digits.substr(0, 3) + " " + digits.substr(3);
    default:
        return "0049 (0)89-" + digits;
    }
}

std::string vcardFile() {
    std::string bytes;
    for (int i = 0; i < kContacts; ++i) {
        bytes += "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + std::to_string(i) +
                 "\r\nFN:M\xC3\xBCller-L\xC3\xBC\x64\x65nscheidt, Person " + std::to_string(i) +
                 "\r\nN:M\xC3\xBCller-L\xC3\xBC\x64\x65nscheidt;Person " + std::to_string(i) +
                 ";;;\r\nTEL;TYPE=HOME,VOICE:" + number(i, 0) +
                 "\r\nTEL;TYPE=CELL:" + number(i, 1) + "\r\nTEL;TYPE=WORK:" + number(i, 2) +
                 "\r\nEMAIL:person@example.org\r\nNOTE:a note that is long enough to be folded "
                 "by the\r\n  writer of the file\r\nEND:VCARD\r\n";
    }
    return bytes;
}

void BM_LoadVCard20000(benchmark::State& state) {
    const std::string file = vcardFile();
    ContactIndex index("0049");
    for (auto _ : state) {
        ContactsRead read = readVCards(file);
        index.setSource(0, "bench", std::move(read.contacts));
    }
    state.counters["contacts"] = kContacts;
    state.counters["numbers"] = static_cast<double>(index.numberCount());
    state.counters["MB"] = static_cast<double>(file.size()) / 1e6;
}
BENCHMARK(BM_LoadVCard20000)->Unit(benchmark::kMillisecond)->Iterations(5);

// Callers as the line delivers them: half are contacts, half are not.
void BM_LookupAmong20000(benchmark::State& state) {
    ContactIndex index("0049");
    index.setSource(0, "bench", std::move(readVCards(vcardFile()).contacts));
    std::mt19937 random(7);
    std::vector<std::string> callers;
    for (int i = 0; i < 100000; ++i) {
        const int contact = static_cast<int>(random() % (2U * kContacts));
        callers.push_back((i % 2 == 0 ? "030" : "0171") + std::to_string(1000000 + contact));
    }
    std::vector<double> micros;
    micros.reserve(callers.size());
    for (auto _ : state) {
        micros.clear();
        for (const std::string& caller : callers) {
            const auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(index.find(caller));
            micros.push_back(
                std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                    .count());
        }
    }
    std::sort(micros.begin(), micros.end());
    const double p50 = micros[micros.size() / 2];
    const double p99 = micros[micros.size() * 99 / 100];
    state.counters["p50_us"] = p50;
    state.counters["p99_us"] = p99;
    std::printf("lookup among %d contacts with 3 numbers each: p50 %.2f us, p99 %.2f us, max "
                "%.2f us (target p99 <= 50 us)\n",
                kContacts, p50, p99, micros.back());
}
BENCHMARK(BM_LookupAmong20000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
