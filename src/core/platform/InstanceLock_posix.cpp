#include "support/InstanceLock.h"

#include "support/PlatformFiles.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <string>

InstanceLock::InstanceLock(std::string configDir)
    : m_path(std::move(configDir) + "rufwacht.lock") {}

InstanceLock::~InstanceLock() {
    if (isLocked()) {
        ::close(static_cast<int>(m_handle));
    }
}

bool InstanceLock::tryLock() {
    if (isLocked()) {
        return true;
    }
    m_failure.clear();
    const int fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0) {
        m_failure = errorReason(errno);
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK) {
            m_failure = errorReason(errno);
        }
        ::close(fd);
        return false;
    }
    // The process number, for a person looking at the folder; the lock itself is the flock.
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const auto written = ::write(fd, pid.data(), pid.size());
    }
    m_handle = fd;
    return true;
}
