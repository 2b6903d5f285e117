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
    EXPECT_EQ(r.callSound, "./res/call.wav");
    EXPECT_EQ(r.webExportPort, 80);
    EXPECT_EQ(r.webExportPassword, "brindle");
    EXPECT_EQ(r.ownCountryPrefix, "0049");
    EXPECT_EQ(r.language, "");
    EXPECT_EQ(r.style, 0);
    EXPECT_EQ(r.registrationDelayStep, 0);
}

// Each flag has its key in the file and its default when the key is missing.
struct FlagKey {
    const char* key;
    bool SettingsRecord::*field;
    bool byDefault;
};

class SettingsFlag : public ::testing::TestWithParam<FlagKey> {};

TEST_P(SettingsFlag, IsReadFromItsKeyAndWrittenBackUnderIt) {
    const FlagKey& flag = GetParam();
    SettingsRecord r;
    readSettings(r, IniDocument("[config]\r\n"));
    EXPECT_EQ(r.*flag.field, flag.byDefault);
    const std::string other = flag.byDefault ? "0" : "-1";
    readSettings(r, IniDocument(std::string("[config]\r\n") + flag.key + "=" + other + "\r\n"));
    EXPECT_EQ(r.*flag.field, !flag.byDefault);
    IniDocument written;
    writeSettings(r, written);
    EXPECT_EQ(written.value("config", flag.key), other);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SettingsFlag,
    ::testing::Values(FlagKey{"plsnd", &SettingsRecord::playCallSound, true},
                      FlagKey{"popup", &SettingsRecord::showJournalOnCall, false},
                      FlagKey{"popupsmall", &SettingsRecord::showPopupOnCall, false},
                      FlagKey{"audiofeedback", &SettingsRecord::audioFeedback, false},
                      FlagKey{"minimize", &SettingsRecord::minimizeAfterCall, false},
                      FlagKey{"webexporton", &SettingsRecord::webExportOn, false},
                      FlagKey{"capidelay", &SettingsRecord::delayRegistration, false},
                      FlagKey{"autostart", &SettingsRecord::autostart, false},
                      FlagKey{"quietexit", &SettingsRecord::quietExit, false},
                      FlagKey{"appexit", &SettingsRecord::exitOnClose, false},
                      FlagKey{"TKAddNull", &SettingsRecord::addLeadingZero, false},
                      FlagKey{"TKRemoveNull", &SettingsRecord::removeLeadingZero, false},
                      FlagKey{"TrayBlink", &SettingsRecord::blinkWhileRinging, false},
                      FlagKey{"RedBlink", &SettingsRecord::blinkAfterMissedCall, false},
                      FlagKey{"RejectAnonymous", &SettingsRecord::rejectWithheld, false},
                      FlagKey{"showAllCalls", &SettingsRecord::showAllCalls, true},
                      FlagKey{"mqtt", &SettingsRecord::mqttOn, false},
                      FlagKey{"mqtttls", &SettingsRecord::mqttTls, false},
                      FlagKey{"mqttdiscovery", &SettingsRecord::mqttDiscovery, true}),
    [](const auto& info) { return std::string(info.param.key); });

// Without the call sound no sound file is set; port 0 is the default port.
TEST(Settings, FixUps) {
    SettingsRecord r;
    readSettings(r, IniDocument("[config]\r\nplsnd=0\r\nwebexportport=0\r\nshowAllCalls=\r\n"));
    EXPECT_EQ(r.callSound, "");
    EXPECT_EQ(r.webExportPort, 80);
    EXPECT_TRUE(r.showAllCalls);
}

TEST(Settings, ValueEncodings) {
    const std::pair<const char*, std::optional<bool>> flags[] = {
        {"-1", true},  {"0", false},     {"5", true}, {"True", true}, {"false", false},
        {"yes", true}, {" OFF ", false}, {"ja", {}},  {"", {}}};
    for (const auto& [text, value] : flags) {
        EXPECT_EQ(parseSettingBool(text), value) << text;
    }
    const std::pair<const char*, std::optional<std::int16_t>> numbers[] = {
        {"32767", 32767}, {"-32768", -32768}, {"32768", {}}, {"1e9", {}},
        {"2.5", 2},       {"3.5", 4},         {"eighty", {}}};
    for (const auto& [text, value] : numbers) {
        EXPECT_EQ(parseSettingInt(text), value) << text;
    }
    const std::pair<const char*, std::optional<std::uint16_t>> ports[] = {
        {"1883", 1883}, {"65535", 65535}, {"65536", {}}, {"0", {}}, {"8883.5", {}}, {"mqtt", {}}};
    for (const auto& [text, value] : ports) {
        EXPECT_EQ(parseSettingPort(text), value) << text;
    }
}

TEST(Settings, UnreadableValuesTakeTheKeysDefaultAndAreNamed) {
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
    r.style = 1;
    r.webExportPort = 8080;
    r.webExportPassword = "geheim ü";
    r.registrationDelayStep = 3;
    r.language = "Deutsch";
    r.ownCountryPrefix = "0041";
    saveSettings(r, path);
    const auto reloaded = loadFrom(path);
    EXPECT_EQ(reloaded.style, 1);
    EXPECT_EQ(reloaded.webExportPort, 8080);
    EXPECT_EQ(reloaded.webExportPassword, "geheim ü");
    EXPECT_EQ(reloaded.registrationDelayStep, 3);
    EXPECT_EQ(reloaded.language, "deutsch");
    EXPECT_EQ(reloaded.ownCountryPrefix, "0041");
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

TEST(Settings, AddressBooksAreNumberedFromOneAndARemovedOneStaysRemoved) {
    TempDir dir;
    const std::string path = dir.file("config.dat");
    SettingsRecord r = loadFrom(path);
    r.addressBooks = {{"/home/anna/kontakte.vcf", "", ""},
                      {"https://dav.example.org/addressbooks/anna/book/", "anna", "geheim"},
                      {"/home/anna/fritzbox.xml", "", ""}};
    ASSERT_TRUE(saveSettings(r, path));
    EXPECT_EQ(loadFrom(path).addressBooks, r.addressBooks);
    EXPECT_EQ(readIni(path, "config", "addressbook2user"), "anna");

    r.addressBooks.erase(r.addressBooks.begin());
    ASSERT_TRUE(saveSettings(r, path));
    r.addressBooks.resize(1);
    ASSERT_TRUE(saveSettings(r, path));
    r.addressBooks.push_back({"/home/anna/neu.vcf", "", ""});
    ASSERT_TRUE(saveSettings(r, path));
    // The third source of the first save does not come back behind the new second one.
    EXPECT_EQ(loadFrom(path).addressBooks, r.addressBooks);
}
