#pragma once
#include "InstanceGuard.h"
#include <QLockFile>
#include <QString>
#include <memory>

// One instance per user login: a lock file in the user's runtime (or temporary) folder, held
// for the life of the process. A lock left by a crashed process is taken over. A lock file
// that cannot be created at all says nothing about other instances, and is told apart.
class LockFileInstanceGuard : public InstanceGuard
{
public:
    explicit LockFileInstanceGuard(QString lockPath = defaultLockPath());
    Claim claim() override;
    static QString defaultLockPath();

private:
    QString whyNoLockCanBeMade(QLockFile::LockError error) const;

    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
