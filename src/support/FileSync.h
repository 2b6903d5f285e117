#pragma once

#include <cstdio>

/// Asks the operating system to write the file's buffered data to the disk (one file per platform).
bool syncFileToDisk(std::FILE* file);
