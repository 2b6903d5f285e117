#include "line/CapiApplication.h"
#include "platform/LinuxCapiDriver.h"
#include "support/FakeCapiDriver.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <poll.h>

#include <chrono>

namespace {

class CapiLoader : public ::testing::Test {
protected:
    /// CapiApplication over the stand-in library, with every event recorded.
    std::unique_ptr<CapiApplication> open(const std::string& library) {
        auto capi = std::make_unique<CapiApplication>(std::make_unique<LinuxCapiDriver>(library));
        capi->setCallerTexts(line_test::englishCallerTexts());
        auto* raw = capi.get();
        capi->events.errorReported = [this, raw] { errors.push_back(raw->errorText()); };
        capi->events.incomingCall = [this, raw] { calls.push_back(raw->callerId()); };
        capi->events.callDisconnected = [this] { ++disconnects; };
        return capi;
    }

    std::vector<std::string> errors;
    std::vector<std::string> calls;
    int disconnects = 0;
};

} // namespace

TEST_F(CapiLoader, MissingLibraryGivesError53) {
    auto capi = open("/nonexistent/libcapi20.so.3");
    EXPECT_FALSE(capi->registerApplication());
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].starts_with("--> ERR: 53 - /nonexistent/libcapi20.so.3: cannot open"))
        << errors[0];
    // The other operations fail quietly through checkInfo rather than crash.
    EXPECT_FALSE(capi->isInstalled());
    EXPECT_EQ(capi->manufacturer(), "");
}

TEST_F(CapiLoader, LibraryLackingAFunctionIsReportedLikeAMissingOne) {
    auto capi = open(FAKE_CAPI_WITHOUT_PROFILE_LIBRARY);
    EXPECT_FALSE(capi->registerApplication());
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].starts_with("--> ERR: 53 - ")) << errors[0];
    EXPECT_NE(errors[0].find("capi20_get_profile"), std::string::npos) << errors[0];
    EXPECT_FALSE(capi->isRegistered());
}

TEST_F(CapiLoader, RegistrationRefused) {
    ScopedEnv refuse("RUFWACHT_FAKE_CAPI_REFUSE", "4097"); // 0x1001
    auto capi = open(FAKE_CAPI_LIBRARY);
    EXPECT_FALSE(capi->registerApplication());
    EXPECT_EQ(errors, std::vector<std::string>{"--> ERR: 0x1001 Too many applications"});
}

TEST_F(CapiLoader, FullCallThroughTheLibrary) {
    TempDir dir;
    const auto scenario = dir.write("call.scenario", "wait 0.02\n"
                                                     "call plci=0x101 called=5551 calling=2123456\n"
                                                     "wait 0.02\n"
                                                     "hangup plci=0x101\n");
    ScopedEnv play("RUFWACHT_FAKE_CAPI_SCENARIO", scenario.c_str());
    auto capi = open(FAKE_CAPI_LIBRARY);
    ASSERT_TRUE(capi->registerApplication());
    ASSERT_TRUE(capi->listen());
    const int handle = capi->readinessHandle();
    ASSERT_GE(handle, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (disconnects == 0 && std::chrono::steady_clock::now() < deadline) {
        pollfd ready{handle, POLLIN, 0};
        ::poll(&ready, 1, 50);
        capi->drainMessages();
    }
    EXPECT_EQ(calls, std::vector<std::string>{"02123456"});
    EXPECT_EQ(disconnects, 1);
    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(capi->release());
    EXPECT_FALSE(capi->isRegistered());
}

TEST_F(CapiLoader, LostRemoteConnectionIsReportedOnceInsteadOfSpinning) {
    ScopedEnv lost("RUFWACHT_FAKE_CAPI_LOST", "1");
    auto capi = open(FAKE_CAPI_LIBRARY);
    ASSERT_TRUE(capi->registerApplication());
    EXPECT_GE(capi->readinessHandle(), 0);
    EXPECT_EQ(capi->drainMessages(), 0);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("Connection to the CAPI lost"), std::string::npos);
    // The handle is given up, so a readiness watcher stops firing; later polls stay quiet.
    EXPECT_EQ(capi->readinessHandle(), -1);
    EXPECT_EQ(capi->drainMessages(), 0);
    EXPECT_EQ(errors.size(), 1u);
}
