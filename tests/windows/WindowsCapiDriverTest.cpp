#include "platform/WindowsCapiDriver.h"
#include "line/CapiApplication.h"
#include "support/FakeCapiDriver.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <chrono>
#include <thread>

namespace {

// The stand-ins lie beside the test program, where Windows looks first for a library.
constexpr const char* kWithoutProfile = "capi2032_without_profile.dll";

class WindowsCapiDriverTest : public ::testing::Test, protected line_test::RecordedCapi {
protected:
    /// What the stand-in saw on the line until the last release.
    static std::string transcript() {
        const HMODULE library = GetModuleHandleA("Capi2032.dll");
        if (library == nullptr) {
            return {};
        }
        using Transcript = const char* (*)();
        const auto function = reinterpret_cast<Transcript>(
            reinterpret_cast<void*>(GetProcAddress(library, "FakeCapiTranscript")));
        return function != nullptr ? function() : "";
    }
};

} // namespace

TEST_F(WindowsCapiDriverTest, MissingOrIncompleteLibraryGivesError53) {
    auto missing = open(std::make_unique<WindowsCapiDriver>("no-such-capi.dll"));
    EXPECT_FALSE(missing->registerApplication());
    auto incomplete = open(std::make_unique<WindowsCapiDriver>(kWithoutProfile));
    EXPECT_FALSE(incomplete->registerApplication());
    EXPECT_FALSE(incomplete->isRegistered());
    ASSERT_EQ(errors.size(), 2U);
    EXPECT_TRUE(errors[0].starts_with("--> ERR: 53 - no-such-capi.dll: ")) << errors[0];
    EXPECT_TRUE(errors[1].starts_with("--> ERR: 53 - ")) << errors[1];
    EXPECT_NE(errors[1].find("CAPI_GET_PROFILE"), std::string::npos) << errors[1];
    // The other operations fail quietly rather than call into nothing.
    EXPECT_FALSE(missing->isInstalled());
    EXPECT_EQ(missing->manufacturer(), "");
}

TEST_F(WindowsCapiDriverTest, DiagnosticsThroughTheLibrary) {
    auto capi = open(std::make_unique<WindowsCapiDriver>());
    EXPECT_TRUE(capi->isInstalled());
    EXPECT_EQ(capi->manufacturer(), "Rufwacht simulated line");
    EXPECT_EQ(capi->version(), "2.0 rev. 1.0");
    EXPECT_EQ(capi->serialNumber(), "0000001");
    EXPECT_TRUE(capi->profile().starts_with("Controllers: 1\r\nB-Channels: 2\r\n"));
}

TEST_F(WindowsCapiDriverTest, OfferedCallIsAlertedAndTheApplicationReleased) {
    TempDir dir;
    const auto scenario = dir.write("call.scenario", "wait 0.02\n"
                                                     "call plci=0x101 called=5551 calling=2123456\n"
                                                     "wait 0.05\n"
                                                     "hangup plci=0x101\n");
    ScopedEnv play("RUFWACHT_FAKE_CAPI_SCENARIO", scenario.c_str());
    auto capi = open(std::make_unique<WindowsCapiDriver>());
    ASSERT_TRUE(capi->registerApplication());
    ASSERT_TRUE(capi->listen());
    // Windows gives no descriptor to wait on: the program polls, and so does the test.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (disconnects == 0 && std::chrono::steady_clock::now() < deadline) {
        if (capi->drainMessages() == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    EXPECT_EQ(calls, std::vector<std::string>{"02123456"});
    EXPECT_EQ(disconnects, 1);
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_TRUE(capi->release());
    EXPECT_FALSE(capi->isRegistered());

    const std::string line = transcript();
    for (const char* step : {"-> CAPI_LISTEN", "<- CAPI_CONNECT - CAPI_IND", "-> CAPI_ALERT",
                             "<- CAPI_DISCONNECT - CAPI_IND", "-> CAPI_DISCONNECT - CAPI_RESP"}) {
        EXPECT_NE(line.find(step), std::string::npos) << step << " missing in:\n" << line;
    }
}
