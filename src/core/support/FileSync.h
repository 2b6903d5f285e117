#pragma once

#include <cstdio>
#include <filesystem>

/// Asks the operating system to write the file's buffered data to the disk (one file per platform).
bool syncFileToDisk(std::FILE* file);

/// Opens a file for binary writing by its path, whatever characters the path holds.
std::FILE* openFileForWriting(const std::filesystem::path& path);
