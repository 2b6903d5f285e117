#include "support/TempDir.h"

#include "support/SafeSave.h"
#include "support/TextFile.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(Cp1252, UmlautsAndEuroRoundTrip) {
    const std::string utf8 = "Österreich ü ß € „x“";
    const std::string bytes = utf8ToCp1252(utf8);
    EXPECT_EQ(bytes, "\xD6sterreich \xFC \xDF \x80 \x84x\x93");
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
    EXPECT_EQ(utf8ToCp1252("\xFF\xFE"), "??");
}

TEST(SplitLines, CrLfBareLfNulAndMissingFinalBreak) {
    EXPECT_EQ(splitLines("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(splitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(splitLines("\r\n"), (std::vector<std::string>{""}));
    EXPECT_TRUE(splitLines("").empty());
    EXPECT_EQ(splitLines(std::string("x\0y\r\n", 5)), (std::vector<std::string>{"xy"}));
    EXPECT_EQ(splitLines("a\rb\n"), (std::vector<std::string>{"a\rb"}));
}

TEST(TextLines, WriteThenReadGivesTheSameLinesWithCrLfOnDisk) {
    TempDir dir;
    const std::vector<std::string> lines{"Müller\t0301234", "", "Straße"};
    ASSERT_TRUE(writeTextLines(dir.file("x.txt"), lines));
    EXPECT_EQ(dir.read("x.txt"), "M\xFCller\t0301234\r\n\r\nStra\xDF"
                                 "e\r\n");
    EXPECT_EQ(readTextLines(dir.file("x.txt")), lines);
}

TEST(TextLines, MissingFileIsNoValue) {
    TempDir dir;
    EXPECT_FALSE(readTextLines(dir.file("missing.txt")).has_value());
}

TEST(TextLines, AppendKeepsExistingContent) {
    TempDir dir;
    dir.write("log.txt", "first\r\n");
    ASSERT_TRUE(appendTextLine(dir.file("log.txt"), "zweite Zeile ä"));
    EXPECT_EQ(dir.read("log.txt"), "first\r\nzweite Zeile \xE4\r\n");
    EXPECT_FALSE(appendTextLine(dir.file("no-such-folder/log.txt"), "x"));
}

TEST(SafeSave, ReplacesTheFileAndLeavesNoTemporaryBehind) {
    TempDir dir;
    dir.write("data.txt", "old content that is longer");
    ASSERT_TRUE(safeSave(dir.file("data.txt"), "new"));
    EXPECT_EQ(dir.read("data.txt"), "new");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST(SafeSave, FailureLeavesTheOldFileUntouched) {
    TempDir dir;
    // A directory in the way of the rename makes the save fail after the temporary was written.
    std::filesystem::create_directories(dir.file("blocked/inner"));
    EXPECT_FALSE(safeSave(dir.file("blocked"), "x"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("blocked/inner")));
    EXPECT_FALSE(safeSave(dir.file("missing-folder/file.txt"), "x"));
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}
