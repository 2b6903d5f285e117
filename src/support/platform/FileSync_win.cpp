#include "support/FileSync.h"

#include <io.h>

bool syncFileToDisk(std::FILE* file) {
    return ::_commit(::_fileno(file)) == 0;
}
