#pragma once

// What the fuzz targets share: the input as text, and a scratch file for the parsers that read
// a file through the stores' own load path (decoding, line ends, field splitting).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include <unistd.h>

namespace fuzz {

inline std::string_view text(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

/// A file in /dev/shm (else /tmp) of this process that holds the input for one run; removed
/// when the target ends.
inline const std::string& scratchPath(const char* name) {
    struct ScratchFile {
        std::string path;
        ~ScratchFile() { std::remove(path.c_str()); }
    };
    static const ScratchFile file{[name] {
        const char* folder = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm/" : "/tmp/";
        return std::string(folder) + "rufwacht-fuzz-" + std::to_string(::getpid()) + "-" + name;
    }()};
    return file.path;
}

inline const std::string& writeScratch(const char* name, const std::uint8_t* data,
                                       std::size_t size) {
    const std::string& path = scratchPath(name);
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        if (size > 0) {
            std::fwrite(data, 1, size, file);
        }
        std::fclose(file);
    }
    return path;
}

} // namespace fuzz
