#include "support/TempDir.h"

#include "stores/IniFile.h"

#include <gtest/gtest.h>

namespace {

const std::string kHandWritten = "; settings written by hand\r\n"
                                 "\r\n"
                                 "[other]\r\n"
                                 "plsnd=keep me\r\n"
                                 "\r\n"
                                 "[Config]\r\n"
                                 "  Plsnd = 0  \r\n"
                                 "; a comment inside\n"
                                 "lookupurl=http://x/?q=%s&pwd=a=b\r\n"
                                 "style=1\r\n"
                                 "\r\n"
                                 "[last]\r\n"
                                 "x=y";

} // namespace

TEST(ReadIni, SectionAndKeyMatchWithoutCaseAndBlanksAreTrimmed) {
    TempDir dir;
    const auto path = dir.write("c.ini", kHandWritten);
    EXPECT_EQ(readIni(path, "config", "plsnd"), "0");
    EXPECT_EQ(readIni(path, "CONFIG", "STYLE"), "1");
    EXPECT_EQ(readIni(path, "other", "plsnd"), "keep me");
    EXPECT_EQ(readIni(path, "last", "x"), "y");
    // The first "=" ends the key; the value may hold more.
    EXPECT_EQ(readIni(path, "config", "lookupurl"), "http://x/?q=%s&pwd=a=b");
    EXPECT_EQ(readIni(path, "config", "missing"), "");
    EXPECT_EQ(readIni(path, "nosection", "plsnd"), "");
    EXPECT_EQ(readIni(dir.file("missing.ini"), "config", "plsnd"), "");
}

TEST(ReadIni, ValuesAreDecodedFromWindows1252AndCutAt254Characters) {
    TempDir dir;
    const auto path = dir.write("c.ini", "[config]\r\nsndwav=C:\\Kl\xE4nge\\ring.wav\r\nlong=" +
                                             std::string(300, 'a') + "\r\n");
    EXPECT_EQ(readIni(path, "config", "sndwav"), "C:\\Klänge\\ring.wav");
    EXPECT_EQ(readIni(path, "config", "long"), std::string(254, 'a'));
}

TEST(WriteIni, ReplacesOnlyTheKeysLineAndKeepsEverythingElseByteForByte) {
    TempDir dir;
    const auto path = dir.write("c.ini", kHandWritten);
    ASSERT_TRUE(writeIni(path, "config", "PLSND", "-1"));
    std::string expected = kHandWritten;
    expected.replace(expected.find("  Plsnd = 0  "), 13, "PLSND=-1");
    EXPECT_EQ(dir.read("c.ini"), expected);
}

TEST(WriteIni, NewKeyGoesToTheEndOfItsSectionBeforeBlankLines) {
    TempDir dir;
    const auto path = dir.write("c.ini", kHandWritten);
    ASSERT_TRUE(writeIni(path, "config", "popup", "0"));
    std::string expected = kHandWritten;
    expected.insert(expected.find("style=1\r\n") + 9, "popup=0\r\n");
    EXPECT_EQ(dir.read("c.ini"), expected);
}

TEST(WriteIni, MissingSectionIsAddedAndMissingFileCreated) {
    TempDir dir;
    const auto path = dir.write("c.ini", kHandWritten);
    ASSERT_TRUE(writeIni(path, "new", "k", "v"));
    EXPECT_EQ(dir.read("c.ini"), kHandWritten + "\r\n[new]\r\nk=v\r\n");
    ASSERT_TRUE(writeIni(dir.file("fresh.ini"), "config", "language", "deutsch"));
    EXPECT_EQ(dir.read("fresh.ini"), "[config]\r\nlanguage=deutsch\r\n");
    EXPECT_EQ(readIni(dir.file("fresh.ini"), "config", "language"), "deutsch");
}

TEST(WriteIni, FileWithOnlyAnEmptyLineGetsTheSectionAfterIt) {
    TempDir dir;
    const auto path = dir.write("c.ini", "\r\n");
    ASSERT_TRUE(writeIni(path, "config", "plsnd", "-1"));
    ASSERT_TRUE(writeIni(path, "config", "sndwav", "Ölé.wav"));
    EXPECT_EQ(dir.read("c.ini"), "\r\n[config]\r\nplsnd=-1\r\nsndwav=\xD6l\xE9.wav\r\n");
}
