#include "support/PlatformFiles.h"
#include "support/SafeSave.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <filesystem>

namespace {

// Whether a safe save left a temporary file in the folder.
bool hasTemporaries(const TempDir& dir) {
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        if (isSafeSaveTemporary(entry.path().filename().string())) {
            return true;
        }
    }
    return false;
}

} // namespace

TEST(WindowsFiles, SafeSaveReplacesAnExistingFile) {
    TempDir dir;
    const std::string path = dir.write("calls.txt", "old\r\n");
    ASSERT_TRUE(safeSave(path, "new\r\n").ok());
    EXPECT_EQ(dir.read("calls.txt"), "new\r\n");
    EXPECT_FALSE(hasTemporaries(dir));
    // Appending goes through the tail writer.
    ASSERT_TRUE(replaceFileTail(path, 5, 5, "more\r\n").ok());
    EXPECT_EQ(dir.read("calls.txt"), "new\r\nmore\r\n");
}

TEST(WindowsFiles, FailedSafeSaveKeepsTheOldFileAndLeavesNoTemporary) {
    TempDir dir;
    const std::string path = dir.write("nn.dat", "keep\r\n");
    // Another program holds the file open without sharing: it cannot be replaced.
    const std::wstring widePath = std::filesystem::path(path).wstring();
    const HANDLE holder = CreateFileW(widePath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    const SaveResult result = safeSave(path, "lost\r\n");
    CloseHandle(holder);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(dir.read("nn.dat"), "keep\r\n");
    EXPECT_FALSE(hasTemporaries(dir));
}

TEST(WindowsFiles, ReadingTellsMissingFoldersAndFilesApart) {
    TempDir dir;
    EXPECT_EQ(readRegularFile(dir.file("missing.dat")).status, ReadStatus::Missing);
    EXPECT_EQ(readRegularFile(dir.path()).status, ReadStatus::NotRegular);
    dir.write("msn.dat", "1\tBüro\r\n");
    const FileRead read = readRegularFile(dir.file("msn.dat"));
    EXPECT_EQ(read.status, ReadStatus::Ok);
    EXPECT_EQ(read.bytes, "1\tBüro\r\n");
}
