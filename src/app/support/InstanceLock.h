#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

/// One running instance per user: a lock file in the user's runtime folder. The lock names the
/// process that holds it, so one left behind by a crashed instance is taken over, not obeyed.
class InstanceLock {
public:
    InstanceLock();
    ~InstanceLock();

    /// True when this process now holds the lock, false when another instance holds it.
    bool tryLock();

    /// $XDG_RUNTIME_DIR, else a per-user folder below the temporary folder.
    static QString lockFilePath();

private:
    std::unique_ptr<QLockFile> m_lock;
};
