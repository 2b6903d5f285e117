#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

// The few file operations that differ between platforms; one implementation file each.

/// Asks the operating system to write the file's buffered data to the disk.
bool syncFileToDisk(std::FILE* file);

/// Opens a file for binary writing by its path, whatever characters the path holds.
std::FILE* openFileForWriting(const std::filesystem::path& path);

/// Opens an existing file for binary reading and writing (its content is kept).
std::FILE* openFileForUpdate(const std::filesystem::path& path);

/// Moves an open file's position to offset bytes from its start (beyond 2 GiB too).
bool seekFile(std::FILE* file, std::uint64_t offset);

/// Cuts an open file to size bytes.
bool truncateFile(std::FILE* file, std::uint64_t size);

/// The size of an open file; nothing when it cannot be told.
bool fileSizeOf(std::FILE* file, std::uint64_t& size);

/// Gives a freshly written file the permissions (and, where the process may, the owner) of the
/// file it is about to replace, so a safe save keeps a private file private.
void copyFileOwnership(std::FILE* to, const std::filesystem::path& from);

/// What reading a data file found.
enum class ReadStatus {
    Ok,
    Missing,    // nothing by that name
    NotRegular, // a directory, FIFO, device or socket: never opened for reading
    Failed,     // there, but it could not be read (permissions, I/O error)
};

struct FileRead {
    ReadStatus status = ReadStatus::Failed;
    std::string bytes;  // the whole file when Ok
    std::string reason; // why not, e.g. "13 - Permission denied"
};

/// Reads a regular file whole. The open never blocks: a FIFO or device in the file's place is
/// refused with NotRegular instead of waiting for a writer.
FileRead readRegularFile(const std::filesystem::path& path);

/// The text for a C library error number: "28 - No space left on device".
std::string errorReason(int errorNumber);
