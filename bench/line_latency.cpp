// How quickly a call on the simulated line reaches the program: from the CONNECT_IND being
// queued (by another thread, as the scenario player does) to IncomingCall having run, with the
// controller's wait on the readiness handle; and how long a backlog of 10,000 calls takes.

#include "line/CapiApplication.h"
#include "line/SimulatedLine.h"

#include <benchmark/benchmark.h>

#include <poll.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Line {
    SimulatedLine* line = nullptr;
    std::unique_ptr<CapiApplication> capi;

    Line() {
        auto owned = std::make_unique<SimulatedLine>();
        line = owned.get();
        capi = std::make_unique<CapiApplication>(std::move(owned));
        capi->registerApplication();
        capi->listen();
    }
};

capi::IncomingCallElements call(std::uint32_t plci) {
    capi::IncomingCallElements elements;
    elements.plci = plci;
    elements.calledDigits = "7654321";
    elements.callingDigits = "3012345678";
    return elements;
}

double milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

void BM_IncomingCallLatency(benchmark::State& state) {
    constexpr int kCalls = 1000;
    for (auto _ : state) {
        Line line;
        std::vector<Clock::time_point> queued(kCalls), handled(kCalls);
        std::atomic<int> handledCount = 0;
        line.capi->events.incomingCall = [&] {
            const auto index = static_cast<int>(line.capi->eventPlci()) - 1;
            handled[static_cast<std::size_t>(index)] = Clock::now();
            handledCount.store(index + 1, std::memory_order_release);
        };
        std::thread caller([&] {
            for (int i = 0; i < kCalls; ++i) {
                queued[static_cast<std::size_t>(i)] = Clock::now();
                line.line->injectCall(call(static_cast<std::uint32_t>(i) + 1));
                while (handledCount.load(std::memory_order_acquire) <= i) {
                    std::this_thread::yield();
                }
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        });
        while (handledCount.load(std::memory_order_acquire) < kCalls) {
            pollfd ready{line.capi->readinessHandle(), POLLIN, 0};
            ::poll(&ready, 1, 100);
            line.capi->drainMessages();
        }
        caller.join();

        std::vector<double> latencies;
        for (int i = 0; i < kCalls; ++i) {
            latencies.push_back(milliseconds(handled[static_cast<std::size_t>(i)] -
                                             queued[static_cast<std::size_t>(i)]));
        }
        std::sort(latencies.begin(), latencies.end());
        const double p50 = latencies[kCalls / 2];
        const double p99 = latencies[kCalls * 99 / 100];
        state.counters["p50_ms"] = p50;
        state.counters["p99_ms"] = p99;
        std::printf(
            "CONNECT_IND to IncomingCall over %d calls: p50 %.3f ms, p99 %.3f ms, max %.3f ms"
            " (target p99 < 5 ms)\n",
            kCalls, p50, p99, latencies.back());
    }
}

void BM_WorkOff10000QueuedCalls(benchmark::State& state) {
    constexpr int kCalls = 10000;
    for (auto _ : state) {
        state.PauseTiming();
        Line line;
        int handled = 0;
        line.capi->events.incomingCall = [&] { ++handled; };
        for (int i = 0; i < kCalls; ++i) {
            line.line->injectCall(call(static_cast<std::uint32_t>(i) + 1));
        }
        state.ResumeTiming();
        const auto start = Clock::now();
        while (line.capi->drainMessages() > 0) {
        }
        const double elapsed = milliseconds(Clock::now() - start);
        state.counters["total_ms"] = elapsed;
        std::printf("%d queued calls worked off in %.1f ms, %d IncomingCall events (target < 1000 "
                    "ms)\n",
                    kCalls, elapsed, handled);
    }
}

} // namespace

BENCHMARK(BM_IncomingCallLatency)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WorkOff10000QueuedCalls)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
