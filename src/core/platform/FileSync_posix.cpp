#include "support/FileSync.h"

#include <unistd.h>

bool syncFileToDisk(std::FILE* file) {
    return ::fsync(::fileno(file)) == 0;
}

std::FILE* openFileForWriting(const std::filesystem::path& path) {
    return std::fopen(path.c_str(), "wb");
}
