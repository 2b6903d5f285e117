#include "support/PlatformFiles.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

// Closes the descriptor when the read is done, however it ends.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

FileRead failed(ReadStatus status, std::string reason) {
    FileRead result;
    result.status = status;
    result.reason = std::move(reason);
    return result;
}

} // namespace

std::string errorReason(int errorNumber) {
    return std::to_string(errorNumber) + " - " + std::generic_category().message(errorNumber);
}

bool syncFileToDisk(std::FILE* file) {
    return ::fsync(::fileno(file)) == 0;
}

std::FILE* openFileForWriting(const std::filesystem::path& path) {
    return std::fopen(path.c_str(), "wb");
}

std::FILE* openFileForUpdate(const std::filesystem::path& path) {
    return std::fopen(path.c_str(), "r+b");
}

bool seekFile(std::FILE* file, std::uint64_t offset) {
    return ::fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
}

bool truncateFile(std::FILE* file, std::uint64_t size) {
    return std::fflush(file) == 0 && ::ftruncate(::fileno(file), static_cast<off_t>(size)) == 0;
}

bool fileSizeOf(std::FILE* file, std::uint64_t& size) {
    struct stat info {};
    if (::fstat(::fileno(file), &info) != 0) {
        return false;
    }
    size = static_cast<std::uint64_t>(info.st_size);
    return true;
}

void copyFileOwnership(std::FILE* to, const std::filesystem::path& from) {
    struct stat info {};
    if (::stat(from.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return;
    }
    const int fd = ::fileno(to);
    // Only a privileged process may give a file away; others keep their own files anyway.
    [[maybe_unused]] const int owned = ::fchown(fd, info.st_uid, info.st_gid);
    ::fchmod(fd, info.st_mode & 07777);
}

FileRead readRegularFile(const std::filesystem::path& path) {
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait forever.
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR) {
            return failed(ReadStatus::Missing, errorReason(error));
        }
        if (error == ENXIO || error == EISDIR) {
            return failed(ReadStatus::NotRegular, errorReason(error));
        }
        return failed(ReadStatus::Failed, errorReason(error));
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        return failed(ReadStatus::Failed, errorReason(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        return failed(ReadStatus::NotRegular,
                      S_ISDIR(info.st_mode) ? errorReason(EISDIR) : "not a regular file");
    }
    // A regular file never blocks; reading it normally keeps EAGAIN out of the loop below.
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    FileRead result;
    result.bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    while (true) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got == 0) {
            break;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return failed(ReadStatus::Failed, errorReason(errno));
        }
        result.bytes.append(buffer, static_cast<std::size_t>(got));
    }
    result.status = ReadStatus::Ok;
    return result;
}
