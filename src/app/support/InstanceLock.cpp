#include "support/InstanceLock.h"

#include <QDir>
#include <QStandardPaths>

InstanceLock::InstanceLock() = default;

InstanceLock::~InstanceLock() = default;

QString InstanceLock::lockFilePath() {
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QDir(dir).exists()) {
        const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
        dir = QDir::tempPath() + "/rufwacht-" + (user.isEmpty() ? QString("user") : user);
        QDir().mkpath(dir);
    }
    return dir + "/rufwacht.lock";
}

bool InstanceLock::tryLock() {
    if (!m_lock) {
        m_lock = std::make_unique<QLockFile>(lockFilePath());
        // The lock lives as long as the program; only a dead owner makes it stale.
        m_lock->setStaleLockTime(0);
    }
    return m_lock->isLocked() || m_lock->tryLock(0);
}
