#include "support/TempDir.h"
#include "support/TestEnvironment.h"

#include "support/AppPaths.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(AppPaths, ExactlyOneTrailingSeparator) {
    EXPECT_EQ(withTrailingSeparator("/opt/rufwacht"), "/opt/rufwacht/");
    EXPECT_EQ(withTrailingSeparator("/opt/rufwacht/"), "/opt/rufwacht/");
    EXPECT_EQ(withTrailingSeparator("/opt/rufwacht//"), "/opt/rufwacht/");
    EXPECT_EQ(withTrailingSeparator("/"), "/");
    EXPECT_EQ(withTrailingSeparator("C:\\"), "C:\\");
}

TEST(AppPaths, PortableConfigBesideTheExecutableUnlessOverridden) {
    TempDir dir;
    const auto paths = AppPaths::locate(dir.path() + "app");
    EXPECT_EQ(paths.dataDir(), dir.path() + "app/");
    EXPECT_EQ(paths.configDir(), dir.path() + "app/config/");
    EXPECT_TRUE(dirExists(paths.configDir()));
    EXPECT_EQ(AppPaths::locate(dir.path() + "app", dir.path() + "elsewhere").configDir(),
              dir.path() + "elsewhere/");
}

TEST(AppPaths, UnwritableProgramFolderFallsBackToTheUserConfig) {
    if (runsOnWindows()) {
        GTEST_SKIP() << "Linux folders and paths";
    }
    TempDir dir;
    // A file where the program folder would be makes "config/" impossible to create.
    dir.write("app", "not a folder");
    const ScopedEnv xdg("XDG_CONFIG_HOME", (dir.path() + "xdg").c_str());
    EXPECT_EQ(AppPaths::locate(dir.path() + "app").configDir(), dir.path() + "xdg/rufwacht/");
    const ScopedEnv noXdg("XDG_CONFIG_HOME", nullptr);
    const ScopedEnv home("HOME", (dir.path() + "home").c_str());
    EXPECT_EQ(AppPaths::locate(dir.path() + "app").configDir(),
              dir.path() + "home/.config/rufwacht/");
    const ScopedEnv relativeXdg("XDG_CONFIG_HOME", "relative"); // to be ignored
    EXPECT_EQ(AppPaths::locate(dir.path() + "app").configDir(),
              dir.path() + "home/.config/rufwacht/");
}

TEST(AppPaths, TheDataTreeTellsAnInstalledProgramFromAPortableOne) {
    if (runsOnWindows()) {
        GTEST_SKIP() << "Linux folders and paths";
    }
    TempDir dir;
    ensureDir(dir.file("usr/bin"));
    ensureDir(dir.file("usr/share/rufwacht/lang"));
    const ScopedEnv xdg("XDG_CONFIG_HOME", (dir.path() + "xdg").c_str());
    const auto installed = AppPaths::locate(dir.path() + "usr/bin");
    EXPECT_EQ(installed.dataDir(), dir.path() + "usr/share/rufwacht/");
    EXPECT_EQ(installed.configDir(), dir.path() + "xdg/rufwacht/");
    // The installation stays as it was, even where it could be written.
    EXPECT_FALSE(dirExists(dir.file("usr/bin/config")));
    EXPECT_EQ(AppPaths::locate(dir.path() + "usr/bin/", dir.path() + "elsewhere").dataDir(),
              dir.path() + "usr/share/rufwacht/");
    // A tree beside the executable wins: the folder is portable.
    ensureDir(dir.file("usr/bin/res"));
    const auto portable = AppPaths::locate(dir.path() + "usr/bin");
    EXPECT_EQ(portable.dataDir(), dir.path() + "usr/bin/");
    EXPECT_EQ(portable.configDir(), dir.path() + "usr/bin/config/");
}

TEST(AppPaths, SettingsPathsResolveAgainstTheDataFolder) {
    if (runsOnWindows()) {
        GTEST_SKIP() << "Linux folders and paths";
    }
    const AppPaths paths("/opt/rw", "/home/u/.config/rufwacht");
    EXPECT_EQ(paths.resolve("./res/call.wav"), "/opt/rw/res/call.wav");
    EXPECT_EQ(paths.resolve(".\\res\\call.wav"), "/opt/rw/res/call.wav");
    EXPECT_EQ(paths.resolve("sounds/x.wav"), "/opt/rw/sounds/x.wav");
    EXPECT_EQ(paths.resolve("/usr/share/sounds/a.wav"), "/usr/share/sounds/a.wav");
    EXPECT_EQ(paths.resolve(""), "");
    EXPECT_EQ(paths.configFile("calls.txt"), "/home/u/.config/rufwacht/calls.txt");
}

TEST(AppPaths, ExistenceTestsNeverThrow) {
    TempDir dir;
    dir.write("f.txt", "x");
    EXPECT_TRUE(fileExists(dir.file("f.txt")));
    EXPECT_FALSE(fileExists(dir.path()));
    EXPECT_FALSE(fileExists(dir.file("missing")));
    EXPECT_FALSE(fileExists(""));
    EXPECT_FALSE(fileExists(std::string("bad\0name", 8)));
    EXPECT_TRUE(dirExists(dir.path()));
    EXPECT_FALSE(dirExists(dir.file("f.txt")));
    EXPECT_FALSE(dirExists(""));
    EXPECT_FALSE(fileExists(dir.file("f.txt/below")));
}
