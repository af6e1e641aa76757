#pragma once
#include "InstanceGuard.h"
#include <QLockFile>
#include <QString>
#include <memory>

// One instance per user login: a lock file in the user's runtime (or temporary) folder, held
// for the life of the process. A lock left by a crashed process is taken over.
class LockFileInstanceGuard : public InstanceGuard
{
public:
    explicit LockFileInstanceGuard(QString lockPath = defaultLockPath());
    bool anotherInstanceRunning() override;
    static QString defaultLockPath();

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
