#pragma once

#include "support/PlatformFiles.h"
#include "support/SafeSave.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Data files are Windows-1252 text with CR LF line ends on disk and UTF-8 inside the program.
// Every store reads and writes its file through these helpers.

/// Decodes Windows-1252 bytes to UTF-8. The five bytes that code page leaves undefined map to
/// the C1 control characters of the same value, so every byte survives a round trip.
std::string cp1252ToUtf8(std::string_view bytes);

/// Encodes UTF-8 text as Windows-1252. Characters the code page cannot hold, and malformed
/// UTF-8, become "?".
std::string utf8ToCp1252(std::string_view text);
/// The same, appended to out.
void appendCp1252(std::string& out, std::string_view text);

/// A filesystem path from a UTF-8 path string (also correct on Windows).
std::filesystem::path toFsPath(const std::string& utf8Path);

/// The whole file as raw bytes, or why it could not be had. Only regular files are read, and
/// the open never blocks on a FIFO or device.
FileRead readDataFile(const std::string& path);

/// The whole file as raw bytes; nothing when it cannot be read.
std::optional<std::string> readFileBytes(const std::string& path);

/// Splits text into lines at CR LF, LF or a bare CR (files from old Macs), dropping every NUL
/// byte. A final line break does not start another line, so "a\r\nb\r\n" gives two lines and
/// "\r\n" one empty one.
std::vector<std::string> splitLines(std::string_view text);

/// Reads a Windows-1252 text file as UTF-8 lines; nothing when it cannot be read.
std::optional<std::vector<std::string>> readTextLines(const std::string& path);

/// The lines encoded as Windows-1252, each ended by CR LF.
std::string encodeTextLines(const std::vector<std::string>& lines);

/// Replaces the file with the given lines (Windows-1252, CR LF) through the safe-save helper.
SaveResult writeTextLines(const std::string& path, const std::vector<std::string>& lines);

/// Appends one line (Windows-1252, CR LF), creating the file but not its folder.
bool appendTextLine(const std::string& path, std::string_view line);
