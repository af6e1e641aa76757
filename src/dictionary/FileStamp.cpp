#include "FileStamp.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

FileStamp FileStamp::of(const QString &path)
{
    FileStamp stamp;
#ifdef Q_OS_UNIX
    // A file replaced by rename keeps its size and may keep its time to the second; its inode
    // and the nanoseconds tell it apart.
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) == 0) {
        stamp.m_size = info.st_size;
        stamp.m_modified = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
        stamp.m_inode = info.st_ino;
        stamp.m_device = info.st_dev;
    }
#else
    const QFileInfo info(path);
    if (info.exists()) {
        stamp.m_size = info.size();
        stamp.m_modified = info.lastModified().toMSecsSinceEpoch();
        stamp.m_inode = quint64(info.birthTime().toMSecsSinceEpoch());
    }
#endif
    return stamp;
}

bool FileStamp::operator==(const FileStamp &other) const
{
    return m_size == other.m_size && m_modified == other.m_modified && m_inode == other.m_inode
        && m_device == other.m_device;
}
