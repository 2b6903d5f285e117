#include "support/TempDir.h"

#include "support/AppPaths.h"
#include "support/Log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

TEST(Logging, LineFormatHasDateTimeAndSeparator) {
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 5;
    when.tm_hour = 8;
    when.tm_min = 33;
    when.tm_sec = 27;
    when.tm_isdst = -1;
    EXPECT_EQ(formatLogLine("abc", std::mktime(&when)), "2026.12.05 08:33:27 - abc");
    EXPECT_EQ(formatLogLine("", std::mktime(&when)), "2026.12.05 08:33:27 - ");
}

TEST(Logging, AppendsCrLfLinesAndNeverTruncates) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("logs"));
    dir.write("logs/rufwacht.log", "old line\r\n");
    const Log log(dir.file("logs/rufwacht.log"));
    log.write("Err: ShellExecute 31 unknown ä");
    log.write("");
    const std::string content = dir.read("logs/rufwacht.log");
    const std::regex expected(
        "old line\r\n"
        "\\d{4}\\.\\d\\d\\.\\d\\d \\d\\d:\\d\\d:\\d\\d - Err: ShellExecute 31 "
        "unknown \xE4\r\n"
        "\\d{4}\\.\\d\\d\\.\\d\\d \\d\\d:\\d\\d:\\d\\d - \r\n");
    EXPECT_TRUE(std::regex_match(content, expected)) << content;
}

TEST(Logging, MissingLogsFolderLosesTheLineSilently) {
    TempDir dir;
    Log(dir.file("logs/rufwacht.log")).write("lost");
    EXPECT_FALSE(std::filesystem::exists(dir.file("logs")));
}
