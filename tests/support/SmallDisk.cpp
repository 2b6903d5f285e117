#include "support/SmallDisk.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/mount.h>

namespace {

constexpr const char* kFiller = ".filler";

std::string sizeOption(int kilobytes) {
    return "size=" + std::to_string(kilobytes) + "k,mode=0777";
}

} // namespace

SmallDisk::SmallDisk(int kilobytes) : m_kilobytes(kilobytes) {
    m_mounted = ::mount("rufwacht-test", m_dir.path().c_str(), "tmpfs", 0,
                        sizeOption(kilobytes).c_str()) == 0;
}

SmallDisk::~SmallDisk() {
    if (m_mounted) {
        ::umount2(m_dir.path().c_str(), MNT_DETACH);
    }
}

void SmallDisk::fill() {
    std::FILE* filler = std::fopen(file(kFiller).c_str(), "ab");
    if (filler == nullptr) {
        return;
    }
    const std::string block(4096, 'x');
    while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() &&
           std::fflush(filler) == 0) {
    }
    // The last partial block.
    while (std::fputc('x', filler) != EOF && std::fflush(filler) == 0) {
    }
    std::fclose(filler);
}

void SmallDisk::freeSpace() {
    std::error_code ignored;
    std::filesystem::remove(file(kFiller), ignored);
}

bool SmallDisk::setReadOnly(bool readOnly) {
    unsigned long flags = MS_REMOUNT;
    if (readOnly) {
        flags |= MS_RDONLY;
    }
    return ::mount("rufwacht-test", m_dir.path().c_str(), "tmpfs", flags,
                   sizeOption(m_kilobytes).c_str()) == 0;
}
