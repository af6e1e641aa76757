#include "PlainFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_UNIX
PlainFile::Kind kindOfMode(mode_t mode)
{
    if (S_ISREG(mode))
        return PlainFile::Kind::Regular;
    if (S_ISDIR(mode))
        return PlainFile::Kind::Folder;
    if (S_ISFIFO(mode))
        return PlainFile::Kind::Fifo;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return PlainFile::Kind::Device;
    if (S_ISSOCK(mode))
        return PlainFile::Kind::Socket;
    if (S_ISLNK(mode))
        return PlainFile::Kind::Link;
    return PlainFile::Kind::Other;
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Reads at most limit + 1 bytes of the open descriptor, so that more than limit shows.
bool readUpTo(int fd, qint64 limit, QByteArray &bytes)
{
    char block[4096];
    while (bytes.size() <= limit) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        bytes.append(block, qsizetype(got));
    }
    return true;
}
#endif

// The bytes of a file already seen to be a regular one; why not, when they could not be had.
QString readRegular(const QString &path, qint64 limit, bool followLinks, QByteArray &bytes)
{
    QString tooLarge = QStringLiteral("is larger than %1 bytes").arg(limit);
#ifdef Q_OS_UNIX
    // Looked at before it is opened, and again once open: it may have been swapped in between.
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | (followLinks ? 0 : O_NOFOLLOW);
    const int fd = ::open(QFile::encodeName(path).constData(), flags);
    if (fd < 0)
        return QStringLiteral("could not be opened: ") + systemReason(errno);
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return QStringLiteral("is not a regular file");
    }
    const bool whole = info.st_size <= limit && readUpTo(fd, limit, bytes);
    const int error = errno;
    ::close(fd);
    if (info.st_size > limit || bytes.size() > limit)
        return tooLarge;
    return whole ? QString() : QStringLiteral("could not be read: ") + systemReason(error);
#else
    Q_UNUSED(followLinks);
    QFile file(path);
    if (file.size() > limit)
        return tooLarge;
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("could not be opened: ") + file.errorString();
    bytes = file.read(limit);
    return {};
#endif
}

} // namespace

PlainFile::Kind PlainFile::kindOf(const QString &path, bool followLinks)
{
#ifdef Q_OS_UNIX
    const QByteArray native = QFile::encodeName(path);
    struct stat info;
    const int rc
        = followLinks ? ::stat(native.constData(), &info) : ::lstat(native.constData(), &info);
    return rc == 0 ? kindOfMode(info.st_mode) : Kind::Missing;
#else
    const QFileInfo info(path);
    if (!followLinks && info.isSymLink())
        return Kind::Link;
    if (!info.exists())
        return Kind::Missing;
    if (info.isDir())
        return Kind::Folder;
    return info.isFile() ? Kind::Regular : Kind::Other;
#endif
}

QString PlainFile::describe(Kind kind)
{
    switch (kind) {
    case Kind::Missing:
        return QStringLiteral("missing");
    case Kind::Regular:
        return QStringLiteral("a file");
    case Kind::Folder:
        return QStringLiteral("a folder");
    case Kind::Fifo:
        return QStringLiteral("a named pipe (FIFO)");
    case Kind::Device:
        return QStringLiteral("a device");
    case Kind::Socket:
        return QStringLiteral("a socket");
    case Kind::Link:
        return QStringLiteral("a symbolic link");
    case Kind::Other:
        break;
    }
    return QStringLiteral("not a regular file");
}

PlainFile::Contents PlainFile::read(const QString &path, qint64 limit, bool followLinks)
{
    Contents contents;
    const Kind kind = kindOf(path, followLinks);
    if (kind == Kind::Missing && kindOf(path, false) == Kind::Missing)
        return contents;
    if (kind != Kind::Regular) {
        contents.problem = kind == Kind::Missing
            ? QStringLiteral("is a symbolic link that leads nowhere")
            : QStringLiteral("is ") + describe(kind);
        return contents;
    }
    contents.problem = readRegular(path, limit, followLinks, contents.bytes);
    contents.read = contents.problem.isEmpty();
    if (!contents.read)
        contents.bytes.clear();
    return contents;
}

QString PlainFile::replace(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);
    QTemporaryFile file(
        target.absolutePath() + QLatin1Char('/') + target.fileName() + QStringLiteral(".XXXXXX"));
    if (!file.open())
        return file.errorString();
    if (file.write(bytes) != bytes.size() || !file.flush())
        return file.errorString();
#ifdef Q_OS_UNIX
    // rename() puts the new file in place of the name itself: a link there is replaced, and
    // what it led to is left as it was.
    if (::rename(
            QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData())
        != 0)
        return systemReason(errno);
    file.setAutoRemove(false);
#else
    if (QFileInfo(path).isSymLink() || QFileInfo::exists(path))
        QFile::remove(path);
    if (!file.rename(path))
        return file.errorString();
    file.setAutoRemove(false);
#endif
    return {};
}
