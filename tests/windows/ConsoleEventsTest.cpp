#include "platform/ConsoleEvents.h"

#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

std::atomic<int> g_endRequests{0};

void countEndRequest() {
    ++g_endRequests;
}

} // namespace

TEST(ConsoleEvents, CtrlCAsksTheProgramToEndInsteadOfEndingIt) {
    ASSERT_TRUE(watchConsoleEnd(&countEndRequest));
    // A test run without a console (under CTest) gets one of its own to send Ctrl+C on.
    AllocConsole();
    if (!GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) {
        GTEST_SKIP() << "no console to send Ctrl+C to (error " << GetLastError() << ")";
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (g_endRequests == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // Still running here: the handler took the event.
    EXPECT_EQ(g_endRequests, 1);
}
