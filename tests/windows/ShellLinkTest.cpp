#include "platform/ShellLink.h"
#include "support/TempDir.h"

#include <vector>

#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <shellapi.h>

namespace {

// The arguments as the started program's start-up code splits them.
std::vector<std::wstring> splitAsWindowsDoes(const std::wstring& arguments) {
    int count = 0;
    const std::wstring commandLine = L"rufwacht.exe " + arguments;
    LPWSTR* split = CommandLineToArgvW(commandLine.c_str(), &count);
    std::vector<std::wstring> result(split + 1, split + count);
    LocalFree(split);
    return result;
}

} // namespace

TEST(ShellLink, ArgumentsAreQuotedSoThatTheProgramReadsThemBackWhole) {
    for (const std::wstring argument :
         {L"--config-dir=C:\\Rufwacht", L"--config-dir=C:\\Rufwacht Daten",
          L"--config-dir=C:\\Rufwacht Daten\\", L"say \"hi\"", L"a\\\\\"b", L""}) {
        EXPECT_EQ(splitAsWindowsDoes(quotedArgument(argument)), std::vector<std::wstring>{argument})
            << quotedArgument(argument);
    }
}

TEST(ShellLink, TheAutostartShortcutStartsTheProgramWithItsSettingsFolderOnly) {
    TempDir dir;
    wchar_t program[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, program, MAX_PATH), 0U);
    const std::filesystem::path target(program);
    const std::filesystem::path shortcut = std::filesystem::path(dir.file("Rufwacht.lnk"));
    const ShellLink written{target, quotedArgument(L"--config-dir=C:\\Rufwacht Daten"),
                            target.parent_path()};
    ASSERT_EQ(writeShellLink(shortcut, written), std::nullopt);

    const auto read = readShellLink(shortcut);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->target, written.target);
    EXPECT_EQ(read->arguments, written.arguments);
    EXPECT_EQ(read->workingDirectory, written.workingDirectory);

    ASSERT_TRUE(std::filesystem::remove(shortcut));
    EXPECT_EQ(readShellLink(shortcut), std::nullopt);
}

TEST(ShellLink, AShortcutInAMissingFolderIsAFailureWithTheSystemsWords) {
    TempDir dir;
    const auto failure = writeShellLink(std::filesystem::path(dir.file("missing/Rufwacht.lnk")),
                                        {L"C:\\windows\\notepad.exe", L"", L"C:\\windows"});
    ASSERT_TRUE(failure.has_value());
    EXPECT_NE(failure->number, 0);
    EXPECT_FALSE(failure->description.empty());
}
