#include "support/TempDir.h"

#include "support/SafeSave.h"
#include "support/TextFile.h"

#include <gtest/gtest.h>

#include "support/SmallDisk.h"

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int countEntries(const std::string& dir) {
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) {
        ++entries;
    }
    return entries;
}

mode_t modeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 0777;
}

} // namespace

TEST(Cp1252, UmlautsAndEuroRoundTrip) {
    const std::string utf8 = "Österreich ü ß € „x“ –— \u00A0";
    const std::string bytes = utf8ToCp1252(utf8);
    EXPECT_EQ(bytes, "\xD6sterreich \xFC \xDF \x80 \x84x\x93 \x96\x97 \xA0");
    EXPECT_EQ(cp1252ToUtf8(bytes), utf8);
}

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

TEST(Cp1252, UnmappableAndMalformedBecomeQuestionMarks) {
    EXPECT_EQ(utf8ToCp1252("a\xE2\x98\x8E"
                           "b"),
              "a?b");                       // a telephone sign
    EXPECT_EQ(utf8ToCp1252("a\xC3"), "a?"); // cut-off sequence
    EXPECT_EQ(utf8ToCp1252("\xC3"
                           "b"),
              "?b"); // a lead byte without its continuation
    EXPECT_EQ(utf8ToCp1252("\xFF\xFE"), "??");
}

TEST(SplitLines, CrLfBareLfBareCrNulAndMissingFinalBreak) {
    EXPECT_EQ(splitLines("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(splitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(splitLines("\r\n"), (std::vector<std::string>{""}));
    EXPECT_TRUE(splitLines("").empty());
    EXPECT_EQ(splitLines(std::string("x\0y\r\n", 5)), (std::vector<std::string>{"xy"}));
    EXPECT_EQ(splitLines("a\rb\rc\r"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(splitLines("a\r\rb\n\rc"), (std::vector<std::string>{"a", "", "b", "", "c"}));
}

TEST(TextLines, WriteThenReadGivesTheSameLinesWithCrLfOnDisk) {
    TempDir dir;
    const std::vector<std::string> lines{"Müller\t0301234", "", "Straße"};
    ASSERT_TRUE(writeTextLines(dir.file("x.txt"), lines));
    EXPECT_EQ(dir.read("x.txt"), "M\xFCller\t0301234\r\n\r\nStra\xDF"
                                 "e\r\n");
    EXPECT_EQ(readTextLines(dir.file("x.txt")), lines);
    EXPECT_FALSE(readTextLines(dir.file("missing.txt")).has_value());
}

// A write cut short (here by the file size limit) fails, keeps the old file and leaves no
// temporary behind.
TEST(SafeSave, AFailedWriteLeavesNoTemporary) {
    TempDir dir;
    dir.write("data.txt", "old");
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{1024, limit.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const SaveResult result =
        safeSave(dir.file("data.txt"), std::string(std::size_t{64} * 1024, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(dir.read("data.txt"), "old");
    EXPECT_EQ(countEntries(dir.path()), 1);
}

TEST(SafeSave, FailureLeavesTheOldFileUntouched) {
    TempDir dir;
    // A directory in the way of the rename makes the save fail after the temporary was written.
    std::filesystem::create_directories(dir.file("blocked/inner"));
    EXPECT_FALSE(safeSave(dir.file("blocked"), "x"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("blocked/inner")));
    EXPECT_FALSE(safeSave(dir.file("missing-folder/file.txt"), "x"));
    EXPECT_EQ(countEntries(dir.path()), 1);
}

// That a FIFO is refused at once, never waiting for a writer, the end-to-end start-up test
// shows with FIFOs for config.dat and nn.dat.
TEST(DataFile, OnlyRegularFilesAreRead) {
    TempDir dir;
    dir.write("calls.txt", "a\r\n");
    EXPECT_EQ(readDataFile(dir.file("calls.txt")).status, ReadStatus::Ok);
    EXPECT_EQ(readDataFile(dir.file("calls.txt")).bytes, "a\r\n");
    EXPECT_EQ(readDataFile(dir.file("missing.txt")).status, ReadStatus::Missing);
    std::filesystem::create_directory(dir.file("folder"));
    EXPECT_EQ(readDataFile(dir.file("folder")).status, ReadStatus::NotRegular);
    EXPECT_FALSE(readFileBytes(dir.file("folder")).has_value());
}

TEST(SafeSave, ReplacesTheFileKeepingItsPermissionsAndLeavesNoTemporary) {
    TempDir dir;
    dir.write("calls.txt", "old content that is longer");
    ::chmod(dir.file("calls.txt").c_str(), 0600);
    ASSERT_TRUE(safeSave(dir.file("calls.txt"), "new"));
    EXPECT_EQ(dir.read("calls.txt"), "new");
    EXPECT_EQ(countEntries(dir.path()), 1);
    EXPECT_EQ(modeOf(dir.file("calls.txt")), 0600u);
    ::chmod(dir.file("calls.txt").c_str(), 0640);
    ASSERT_TRUE(safeSave(dir.file("calls.txt"), "newer"));
    EXPECT_EQ(modeOf(dir.file("calls.txt")), 0640u);
}

TEST(SafeSave, WritesThroughASymbolicLinkToItsTarget) {
    TempDir dir;
    dir.write("real/calls.txt", "old");
    std::filesystem::create_directory(dir.file("config"));
    std::filesystem::create_symlink("../real/calls.txt", dir.file("config/calls.txt"));
    ASSERT_TRUE(safeSave(dir.file("config/calls.txt"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("config/calls.txt")));
    EXPECT_EQ(dir.read("real/calls.txt"), "new");
    EXPECT_EQ(countEntries(dir.file("real")), 1);
    EXPECT_EQ(countEntries(dir.file("config")), 1);
}

TEST(SafeSave, LeftoverTemporariesOfKilledSavesAreRemovedAndNothingElse) {
    TempDir dir;
    for (const char* name : {"calls.txt.tmp-123456789-0", "config.dat.tmp-1-22", "calls.txt",
                             "notes.tmp-12", "calls.txt.tmp-12-x", ".tmp-1-2", "x.tmp-1-2.bak"}) {
        dir.write(name, "x");
    }
    std::filesystem::create_directory(dir.file("nn.dat.tmp-5-5"));
    EXPECT_EQ(removeLeftoverTemporaries(dir.path()), 2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("calls.txt.tmp-123456789-0")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("config.dat.tmp-1-22")));
    EXPECT_EQ(countEntries(dir.path()), 6);
}

TEST(SafeSave, AFullOrReadOnlyDiskFailsWithItsReasonAndKeepsTheOldFile) {
    SmallDisk disk(256);
    if (!disk.isMounted()) {
        GTEST_SKIP() << "mounting a small file system needs root";
    }
    ASSERT_TRUE(safeSave(disk.file("calls.txt"), "old"));
    disk.fill();
    const SaveResult full =
        safeSave(disk.file("calls.txt"), std::string(std::size_t{64} * 1024, 'x'));
    EXPECT_FALSE(full.ok());
    EXPECT_NE(full.error.find("No space left on device"), std::string::npos) << full.error;
    EXPECT_EQ(readDataFile(disk.file("calls.txt")).bytes, "old");
    disk.freeSpace();
    ASSERT_TRUE(disk.setReadOnly(true));
    const SaveResult readOnly = safeSave(disk.file("calls.txt"), "new");
    EXPECT_NE(readOnly.error.find("Read-only file system"), std::string::npos) << readOnly.error;
    ASSERT_TRUE(disk.setReadOnly(false));
    EXPECT_TRUE(safeSave(disk.file("calls.txt"), "new"));
    EXPECT_EQ(readDataFile(disk.file("calls.txt")).bytes, "new");
}

TEST(ReplaceFileTail, AppendsOrRewritesTheEndOnlyWhenTheFileIsAsExpected) {
    TempDir dir;
    dir.write("calls.txt", "one\r\ntwo\r\n");
    ASSERT_TRUE(replaceFileTail(dir.file("calls.txt"), 10, 10, "three\r\n"));
    EXPECT_EQ(dir.read("calls.txt"), "one\r\ntwo\r\nthree\r\n");
    ASSERT_TRUE(replaceFileTail(dir.file("calls.txt"), 17, 10, "THREE!\r\n"));
    EXPECT_EQ(dir.read("calls.txt"), "one\r\ntwo\r\nTHREE!\r\n");
    EXPECT_FALSE(replaceFileTail(dir.file("calls.txt"), 17, 10, "x"));
    EXPECT_EQ(dir.read("calls.txt"), "one\r\ntwo\r\nTHREE!\r\n");
    EXPECT_FALSE(replaceFileTail(dir.file("missing.txt"), 0, 0, "x"));
    // A shorter tail cuts what followed it.
    ASSERT_TRUE(replaceFileTail(dir.file("calls.txt"), 18, 5, "2\r\n"));
    EXPECT_EQ(dir.read("calls.txt"), "one\r\n2\r\n");
}
