#include "support/InstanceLock.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(WindowsInstanceLock, OneHolderPerSettingsFolderAndTheRealCauseOtherwise) {
    TempDir dir;
    InstanceLock first(dir.path());
    InstanceLock second(dir.path());
    ASSERT_TRUE(first.tryLock());
    EXPECT_FALSE(second.tryLock());
    EXPECT_EQ(second.failure(), "") << "another instance is no fault";

    TempDir other;
    std::filesystem::create_directory(other.file("rufwacht.lock"));
    InstanceLock blocked(other.path());
    EXPECT_FALSE(blocked.tryLock());
    EXPECT_NE(blocked.failure(), "");
}
