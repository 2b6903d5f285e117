#include "line/CapiApplication.h"
#include "platform/LinuxCapiDriver.h"
#include "support/FakeCapiDriver.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <poll.h>

#include <chrono>

namespace {

class CapiLoader : public ::testing::Test, protected line_test::RecordedCapi {
protected:
    std::unique_ptr<CapiApplication> open(const std::string& library) {
        return RecordedCapi::open(std::make_unique<LinuxCapiDriver>(library));
    }
};

} // namespace

TEST_F(CapiLoader, MissingOrIncompleteLibraryGivesError53) {
    auto missing = open("/nonexistent/libcapi20.so.3");
    EXPECT_FALSE(missing->registerApplication());
    auto incomplete = open(FAKE_CAPI_WITHOUT_PROFILE_LIBRARY);
    EXPECT_FALSE(incomplete->registerApplication());
    EXPECT_FALSE(incomplete->isRegistered());
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_TRUE(errors[0].starts_with("--> ERR: 53 - /nonexistent/libcapi20.so.3: cannot open"))
        << errors[0];
    EXPECT_TRUE(errors[1].starts_with("--> ERR: 53 - ")) << errors[1];
    EXPECT_NE(errors[1].find("capi20_get_profile"), std::string::npos) << errors[1];
    // The other operations fail quietly rather than call into nothing.
    EXPECT_FALSE(missing->isInstalled());
    EXPECT_EQ(missing->manufacturer(), "");
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
