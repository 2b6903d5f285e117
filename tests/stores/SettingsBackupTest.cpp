#include "support/TempDir.h"

#include "stores/SettingsBackup.h"
#include "support/AppPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

using Lines = std::vector<std::string>;
using Section = std::optional<Lines>;

class BackupFiles : public ::testing::Test {
protected:
    BackupFiles() : paths(dir.path(), dir.path() + "config/") {
        ensureDir(paths.configDir());
        for (const char* name : kBackupFiles) {
            dir.write(std::string("config/") + name, "old " + std::string(name) + "\r\n");
        }
    }
    std::string configFile(const std::string& name) const { return dir.read("config/" + name); }

    TempDir dir;
    AppPaths paths;
};

} // namespace

TEST_F(BackupFiles, BackupLeavesOutBlankLinesAndRestoreBringsBackTheContent) {
    dir.write("config/config.dat", "\r\n[config]\r\nplsnd=-1\r\n\r\nstyle=1\r\n");
    dir.write("config/msn.dat", "4711\tB\xFCro\t0\t-1\r\n\r\n");
    dir.write("config/nn.dat", "\r\n0301*\tBerlin\t0\t\t\r\n0351\tDresden\t-1\t\t\r\n\r\n");
    ASSERT_TRUE(writeBackup(paths, dir.file("save.ibk")));
    const std::string backup =
        "\r\n---BEGIN config.dat---\r\n[config]\r\nplsnd=-1\r\nstyle=1\r\n"
        "---END config.dat---\r\n"
        "---BEGIN msn.dat---\r\n4711\tB\xFCro\t0\t-1\r\n---END msn.dat---\r\n"
        "---BEGIN nn.dat---\r\n0301*\tBerlin\t0\t\t\r\n"
        "0351\tDresden\t-1\t\t\r\n---END nn.dat---\r\n";
    EXPECT_EQ(dir.read("save.ibk"), backup);

    for (const char* name : kBackupFiles) {
        dir.write(std::string("config/") + name, "changed\r\n");
    }
    ASSERT_EQ(restoreBackup(paths, dir.file("save.ibk")), RestoreResult::Restored);
    EXPECT_EQ(configFile("config.dat"), "\r\n[config]\r\nplsnd=-1\r\nstyle=1\r\n");
    EXPECT_EQ(configFile("msn.dat"), "\r\n4711\tB\xFCro\t0\t-1\r\n");
    EXPECT_EQ(configFile("nn.dat"), "\r\n0301*\tBerlin\t0\t\t\r\n0351\tDresden\t-1\t\t\r\n");
}

TEST_F(BackupFiles, AnUnreadableDataFileStillGetsItsMarkers) {
    std::filesystem::remove(paths.configFile("msn.dat"));
    ASSERT_TRUE(writeBackup(paths, dir.file("save.ibk")));
    EXPECT_NE(dir.read("save.ibk").find("---BEGIN msn.dat---\r\n---END msn.dat---\r\n"),
              std::string::npos);
    EXPECT_FALSE(writeBackup(paths, dir.file("missing-folder/save.ibk")));
}

TEST_F(BackupFiles, ASectionMissingFromTheBackupEmptiesItsFile) {
    dir.write("only.ibk",
              "---BEGIN config.dat---\r\n[config]\r\nstyle=1\r\n---END config.dat---\r\n");
    ASSERT_EQ(restoreBackup(paths, dir.file("only.ibk")), RestoreResult::Restored);
    EXPECT_EQ(configFile("config.dat"), "\r\n[config]\r\nstyle=1\r\n");
    EXPECT_EQ(configFile("msn.dat"), "\r\n");
    EXPECT_EQ(configFile("nn.dat"), "\r\n");
}

// Every refused or failed restore leaves all three files as they were.
TEST_F(BackupFiles, ARefusedOrFailedRestoreChangesNothing) {
    const std::string msnSection = "---BEGIN msn.dat---\r\n1\tA\t0\t0\r\n---END msn.dat---\r\n";
    dir.write("notes.ibk", "\r\nsome text\r\n---BEGIN CONFIG.DAT---\r\n ---BEGIN nn.dat---\r\n");
    dir.write("empty.ibk", "");
    dir.write("cut.ibk", msnSection + "---BEGIN nn.dat---\r\n0301\tA\t0\t\t\r\n");
    dir.write("marker.ibk", "---BEGIN config.dat---\r\n");
    dir.write("huge.ibk", msnSection);
    std::filesystem::resize_file(dir.file("huge.ibk"), kMaxBackupBytes + 1);
    // nn.dat cannot be replaced: msn.dat, which could, must not be either.
    dir.write("save.ibk", msnSection);
    std::filesystem::remove(paths.configFile("nn.dat"));
    std::filesystem::create_directories(paths.configFile("nn.dat") + "/inside");
    const std::pair<const char*, RestoreResult> cases[] = {
        {"notes.ibk", RestoreResult::NoSections},  {"empty.ibk", RestoreResult::NoSections},
        {"absent.ibk", RestoreResult::Unreadable}, {"cut.ibk", RestoreResult::CutOff},
        {"marker.ibk", RestoreResult::CutOff},     {"huge.ibk", RestoreResult::TooLarge},
        {"save.ibk", RestoreResult::WriteFailed},
    };
    for (const auto& [file, result] : cases) {
        EXPECT_EQ(restoreBackup(paths, dir.file(file)), result) << file;
        EXPECT_EQ(configFile("config.dat"), "old config.dat\r\n") << file;
        EXPECT_EQ(configFile("msn.dat"), "old msn.dat\r\n") << file;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(paths.configDir()),
                            std::filesystem::directory_iterator()),
              3)
        << "no temporary file stays behind";
}

TEST_F(BackupFiles, ALargePhonebookComesBackWhole) {
    std::string phonebook;
    for (int i = 1; i <= 10000; ++i) {
        phonebook += "0301" + std::to_string(i) + "\tName " + std::to_string(i) + "\t0\t\t\r\n";
    }
    dir.write("config/nn.dat", phonebook);
    ASSERT_TRUE(writeBackup(paths, dir.file("save.ibk")));
    dir.write("config/nn.dat", "changed\r\n");
    ASSERT_EQ(restoreBackup(paths, dir.file("save.ibk")), RestoreResult::Restored);
    EXPECT_EQ(configFile("nn.dat"), "\r\n" + phonebook);
}

struct ParseCase {
    const char* name;
    Lines lines;
    Section config, msn, phonebook;
    bool cutOff = false;
};

class BackupParsing : public ::testing::TestWithParam<ParseCase> {};

TEST_P(BackupParsing, CollectsEachSection) {
    const ParseCase& c = GetParam();
    const BackupContent content = parseBackup(c.lines);
    EXPECT_EQ(content.sections[0], c.config);
    EXPECT_EQ(content.sections[1], c.msn);
    EXPECT_EQ(content.sections[2], c.phonebook);
    EXPECT_EQ(content.hasAnySection(), c.config || c.msn || c.phonebook);
    EXPECT_EQ(content.endsInsideSection, c.cutOff);
}

INSTANTIATE_TEST_SUITE_P(
    Sections, BackupParsing,
    ::testing::Values(ParseCase{"OutOfOrderAndTwice",
                                {"before", "---BEGIN nn.dat---", "n1", "---END nn.dat---",
                                 "between", "---BEGIN config.dat---", "c1", "---END config.dat---",
                                 "---BEGIN nn.dat---", "n2", "---END nn.dat---"},
                                Lines{"c1"},
                                std::nullopt,
                                Lines{"n1", "n2"}},
                      ParseCase{"OtherMarkersInsideASectionAreData",
                                {"---BEGIN msn.dat---", "---BEGIN nn.dat---", "---END nn.dat---",
                                 "", "---END msn.dat---"},
                                std::nullopt,
                                Lines{"---BEGIN nn.dat---", "---END nn.dat---", ""},
                                std::nullopt},
                      ParseCase{"EndsInsideASection",
                                {"---BEGIN msn.dat---", "m1", "---END msn.dat---",
                                 "---BEGIN config.dat---", "c1"},
                                Lines{"c1"},
                                Lines{"m1"},
                                std::nullopt,
                                true},
                      ParseCase{"MarkersMatchOnlyExactly",
                                {"---begin nn.dat---", "---BEGIN nn.dat--- ", "x"},
                                std::nullopt,
                                std::nullopt,
                                std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });
