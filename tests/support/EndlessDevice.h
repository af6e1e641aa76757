#pragma once
// A device that never ends when read, for tests of what refuses one. Run as root, a device of
// the test's own in its folder, so that a program that wrongly writes over it spoils nothing
// of the system's; otherwise /dev/zero, which the test cannot replace anyway.
#include <QDir>
#include <QFile>
#include <QString>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

inline QString endlessDevice(const QString &folder)
{
    const QString own = QDir(folder).filePath(QStringLiteral("zero"));
    if (::geteuid() == 0
        && ::mknod(QFile::encodeName(own).constData(), S_IFCHR | 0644, makedev(1, 5)) == 0)
        return own;
    return QStringLiteral("/dev/zero");
}
