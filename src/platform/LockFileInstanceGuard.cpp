#include "LockFileInstanceGuard.h"
#include <QDir>
#include <QStandardPaths>

LockFileInstanceGuard::LockFileInstanceGuard(QString lockPath) : m_path(std::move(lockPath)) { }

QString LockFileInstanceGuard::defaultLockPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir + QStringLiteral("/somnilex.lock");
}

bool LockFileInstanceGuard::anotherInstanceRunning()
{
    if (!m_lock) {
        m_lock = std::make_unique<QLockFile>(m_path);
        m_lock->setStaleLockTime(0); // stale only when its process is gone
    }
    if (m_lock->isLocked())
        return false;
    return !m_lock->tryLock(0);
}
