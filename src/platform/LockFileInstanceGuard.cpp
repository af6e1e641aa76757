#include "LockFileInstanceGuard.h"
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

LockFileInstanceGuard::LockFileInstanceGuard(QString lockPath)
    : m_path(std::move(lockPath))
{ }

QString LockFileInstanceGuard::defaultLockPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir + QStringLiteral("/somnilex.lock");
}

InstanceGuard::Claim LockFileInstanceGuard::claim()
{
    if (!m_lock) {
        m_lock = std::make_unique<QLockFile>(m_path);
        m_lock->setStaleLockTime(0); // stale only when its process is gone
    }
    if (m_lock->isLocked() || m_lock->tryLock(0))
        return { Claim::Acquired, {}, {} };
    // QLockFile reports a live holder as LockFailedError, and every failure to create the
    // file (missing or read-only folder, a file where the folder should be) as another error.
    if (m_lock->error() == QLockFile::LockFailedError)
        return { Claim::HeldByOther, {}, {} };
    const QString folder = QDir::toNativeSeparators(QFileInfo(m_path).absolutePath());
    return { Claim::Unavailable, folder, whyNoLockCanBeMade(m_lock->error()) };
}

QString LockFileInstanceGuard::whyNoLockCanBeMade(QLockFile::LockError error) const
{
    // QLockFile keeps the system's reason to itself; a file of our own in the same folder
    // fails the same way and tells it.
    QTemporaryFile probe(QFileInfo(m_path).absolutePath() + QStringLiteral("/somnilex-XXXXXX"));
    if (!probe.open())
        return probe.errorString();
    if (error == QLockFile::PermissionError)
        return QStringLiteral("permission denied");
    return QStringLiteral("the lock file could not be created");
}
