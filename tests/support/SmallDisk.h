#pragma once

#include "support/TempDir.h"

#include <string>

/// A tiny file system of its own (tmpfs) mounted on a temporary folder, for tests of a full
/// or read-only disk that root cannot bypass. Mounting needs privileges: check isMounted()
/// and skip the test when it is false.
class SmallDisk {
public:
    explicit SmallDisk(int kilobytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool isMounted() const { return m_mounted; }
    const std::string& path() const { return m_dir.path(); }
    std::string file(const std::string& name) const { return m_dir.file(name); }

    /// Takes every free block with a filler file, so the next write fails with ENOSPC.
    void fill();
    /// Gives the filler's blocks back.
    void freeSpace();
    /// Remounts the file system read-only (true) or writable again (false).
    bool setReadOnly(bool readOnly);

private:
    TempDir m_dir;
    int m_kilobytes;
    bool m_mounted = false;
};
