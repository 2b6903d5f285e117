#include "support/TempDir.h"

#include "stores/IniFile.h"
#include "stores/Settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

SettingsRecord loadFrom(const std::string& path) {
    SettingsRecord record;
    loadSettings(record, path);
    return record;
}

} // namespace

TEST(Settings, FirstStartCreatesTheFileAndTakesTheDefaults) {
    TempDir dir;
    const auto r = loadFrom(dir.file("config.dat"));
    EXPECT_EQ(dir.read("config.dat"), "\r\n");
    EXPECT_TRUE(r.playCallSound);
    EXPECT_EQ(r.callSound, "./res/call.wav");
    EXPECT_EQ(r.webExportPort, 80);
    EXPECT_EQ(r.webExportPassword, "brindle");
    EXPECT_TRUE(r.showAllCalls);
    EXPECT_EQ(r.ownCountryPrefix, "0049");
    EXPECT_EQ(r.language, "");
    EXPECT_EQ(r.lookupUrl, kDefaultLookupUrl);
    EXPECT_EQ(r.updateUrl, kDefaultUpdateUrl);
    for (bool flag : {r.showJournalOnCall, r.showPopupOnCall, r.audioFeedback, r.minimizeAfterCall,
                      r.webExportOn, r.delayRegistration, r.autostart, r.quietExit, r.exitOnClose,
                      r.addLeadingZero, r.removeLeadingZero, r.blinkWhileRinging,
                      r.blinkAfterMissedCall, r.rejectWithheld}) {
        EXPECT_FALSE(flag);
    }
    EXPECT_EQ(r.style, 0);
    EXPECT_EQ(r.registrationDelayStep, 0);
}

TEST(Settings, FixUps) {
    TempDir dir;
    auto r = loadFrom(dir.write("a.dat", "[config]\r\nplsnd=0\r\nwebexportport=0\r\n"
                                         "Prefix=00a43\r\nshowAllCalls=0\r\n"));
    EXPECT_FALSE(r.playCallSound);
    EXPECT_EQ(r.callSound, "");
    EXPECT_EQ(r.webExportPort, 80);
    EXPECT_EQ(r.ownCountryPrefix, "0049");
    EXPECT_FALSE(r.showAllCalls);
    r = loadFrom(dir.write("b.dat", "[config]\r\nwebexportport=http\r\nprefix=0043\r\n"
                                    "showAllCalls=\r\n"));
    EXPECT_EQ(r.webExportPort, 80);
    EXPECT_EQ(r.ownCountryPrefix, "0043");
    EXPECT_TRUE(r.showAllCalls);
    r = loadFrom(dir.write("c.dat", "[config]\r\nupdateurl=http://10.0.0.2/rw/\r\n"));
    EXPECT_EQ(r.updateUrl, "http://10.0.0.2/rw/");
}

TEST(Settings, ValueEncodings) {
    EXPECT_EQ(parseSettingBool("-1"), true);
    EXPECT_EQ(parseSettingBool("0"), false);
    EXPECT_EQ(parseSettingBool("5"), true);
    EXPECT_EQ(parseSettingBool("True"), true);
    EXPECT_EQ(parseSettingBool("false"), false);
    EXPECT_EQ(parseSettingBool("yes"), true);
    EXPECT_EQ(parseSettingBool(" OFF "), false);
    EXPECT_FALSE(parseSettingBool("ja").has_value());
    EXPECT_FALSE(parseSettingBool("").has_value());
    EXPECT_EQ(parseSettingInt("32767"), 32767);
    EXPECT_EQ(parseSettingInt("-32768"), -32768);
    EXPECT_FALSE(parseSettingInt("32768").has_value());
    EXPECT_FALSE(parseSettingInt("1e9").has_value());
    EXPECT_EQ(parseSettingInt("2.5"), 2);
    EXPECT_EQ(parseSettingInt("3.5"), 4);
    EXPECT_FALSE(parseSettingInt("eighty").has_value());
}

TEST(Settings, UnreadableValuesTakeTheKeysDefaultAndAreNamed) {
    TempDir dir;
    SettingsRecord r;
    const auto ignored =
        readSettings(r, IniDocument("[config]\r\nshowAllCalls=yes please\r\nplsnd=maybe\r\n"
                                    "style=99999\r\nwebexportport=http\r\npopup=on\r\n"
                                    "RejectAnonymous=Yes\r\nPrefix=0x49\r\n"));
    EXPECT_TRUE(r.showAllCalls);
    EXPECT_TRUE(r.playCallSound);
    EXPECT_EQ(r.style, 0);
    EXPECT_EQ(r.webExportPort, 80);
    EXPECT_TRUE(r.showJournalOnCall);
    EXPECT_TRUE(r.rejectWithheld);
    EXPECT_EQ(r.ownCountryPrefix, "0049");
    EXPECT_EQ(ignored, (std::vector<std::string>{"plsnd", "style", "webexportport", "showAllCalls",
                                                 "Prefix"}));
    // A later load takes the defaults too, not what the record held before.
    r.minimizeAfterCall = true;
    readSettings(r, IniDocument("[config]\r\nminimize=sometimes\r\n"));
    EXPECT_FALSE(r.minimizeAfterCall);
}

TEST(Settings, SaveAndReloadGiveTheSameRecordInTheFixedOrder) {
    TempDir dir;
    const auto path = dir.file("config.dat");
    SettingsRecord r = loadFrom(path);
    r.showPopupOnCall = true;
    r.minimizeAfterCall = true;
    r.style = 1;
    r.webExportPort = 8080;
    r.webExportPassword = "geheim ü";
    r.delayRegistration = true;
    r.registrationDelayStep = 3;
    r.addLeadingZero = true;
    r.blinkAfterMissedCall = true;
    r.language = "Deutsch";
    r.rejectWithheld = true;
    r.showAllCalls = false;
    r.ownCountryPrefix = "0041";
    SettingsRecord saved = r;
    saveSettings(r, path);
    const auto reloaded = loadFrom(path);
    saved.language = "deutsch";
    EXPECT_EQ(reloaded.language, "deutsch");
    EXPECT_EQ(reloaded.webExportPassword, saved.webExportPassword);
    EXPECT_EQ(reloaded.registrationDelayStep, 3);
    EXPECT_EQ(reloaded.ownCountryPrefix, "0041");
    EXPECT_FALSE(reloaded.showAllCalls);
    EXPECT_TRUE(reloaded.showPopupOnCall && reloaded.minimizeAfterCall &&
                reloaded.blinkAfterMissedCall);
    EXPECT_EQ(r.language, "deutsch"); // saving reloads the record
    const std::string content = dir.read("config.dat");
    const char* order[] = {
        "plsnd=",           "sndwav=",        "popup=",       "popupsmall=",    "minimize=",
        "audiofeedback=",   "style=",         "webexporton=", "webexportport=", "webexportpwd=",
        "capidelay=",       "capidelaytime=", "autostart=",   "quietexit=",     "appexit=",
        "TKAddNull=",       "TKRemoveNull=",  "TrayBlink=",   "RedBlink=",      "language=",
        "RejectAnonymous=", "showAllCalls=",  "prefix="};
    std::size_t at = 0;
    for (const char* key : order) {
        const auto found = content.find(std::string("\r\n") + key, at);
        ASSERT_NE(found, std::string::npos) << key;
        at = found + 1;
    }
    EXPECT_NE(content.find("webexportpwd=geheim \xFC\r\n"), std::string::npos);
}

TEST(Settings, GarbageAndNulBytesLoadWithoutHarm) {
    TempDir dir;
    std::string garbage;
    for (int i = 0; i < 4096; ++i) {
        garbage.push_back(static_cast<char>((i * 7919) % 256));
    }
    static const char tail[] = "\0[config]\0\r\nstyle=1\0\r\nplsnd\r\n=\r\n[\r\n";
    garbage += std::string(tail, sizeof tail - 1);
    const auto r = loadFrom(dir.write("config.dat", garbage));
    EXPECT_TRUE(r.playCallSound);
    EXPECT_EQ(r.ownCountryPrefix, "0049");
    EXPECT_EQ(r.webExportPort, 80);
}

TEST(Settings, SaveWritesTheFileOnceAndNeverOverAFileThatCannotBeRead) {
    TempDir dir;
    const auto path = dir.write("config.dat", "; mine\r\n[other]\r\nx=1\r\n");
    SettingsRecord r = loadFrom(path);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write);
    // Every finished safe save renames a temporary file into the folder.
    const int watch = ::inotify_init1(IN_NONBLOCK);
    ASSERT_GE(::inotify_add_watch(watch, dir.path().c_str(), IN_MOVED_TO), 0);
    ASSERT_TRUE(saveSettings(r, path));
    int renames = 0;
    alignas(inotify_event) char events[64 * (sizeof(inotify_event) + 256)];
    for (ssize_t got; (got = ::read(watch, events, sizeof events)) > 0;) {
        for (char* at = events; at < events + got;) {
            ++renames;
            at += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(at)->len;
        }
    }
    ::close(watch);
    EXPECT_EQ(renames, 1);
    const std::string content = dir.read("config.dat");
    EXPECT_EQ(content.rfind("; mine\r\n[other]\r\nx=1\r\n[config]\r\nplsnd=-1\r\n", 0), 0u);
    EXPECT_EQ(std::filesystem::status(path).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    // A directory where the file should be: no save, no exception, the defaults.
    std::filesystem::create_directory(dir.file("folder.dat"));
    SettingsRecord defaults = loadFrom(dir.file("folder.dat"));
    EXPECT_TRUE(defaults.showAllCalls);
    EXPECT_FALSE(saveSettings(defaults, dir.file("folder.dat")));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder.dat")));
}
