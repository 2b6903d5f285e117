#pragma once

#include <cstdint>
#include <string>

/// One running instance per settings folder: an exclusive lock on the file "rufwacht.lock" in
/// it, held while the program runs. The operating system drops the lock when the process ends,
/// so a lock left by a crashed instance never blocks, and what the file holds does not matter.
/// One implementation file per platform.
class InstanceLock {
public:
    explicit InstanceLock(std::string configDir);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    /// True when this process now holds the lock, false when another instance holds it or the
    /// lock file cannot be opened (then failure() tells why).
    bool tryLock();
    bool isLocked() const { return m_handle != kNoHandle; }
    /// Why the last tryLock failed for another reason than another instance
    /// ("13 - Permission denied"); empty when another instance holds the lock.
    const std::string& failure() const { return m_failure; }
    const std::string& path() const { return m_path; }

private:
    static constexpr std::intptr_t kNoHandle = -1;

    std::string m_path;
    std::string m_failure;
    std::intptr_t m_handle = kNoHandle;
};
