#include "support/FileSync.h"

#include <io.h>

bool syncFileToDisk(std::FILE* file) {
    return ::_commit(::_fileno(file)) == 0;
}

std::FILE* openFileForWriting(const std::filesystem::path& path) {
    return ::_wfopen(path.c_str(), L"wb");
}
