#pragma once
#include <QString>
#include <QtGlobal>

// What tells one state of a file from another: a file replaced on disk, or written by anyone,
// has another stamp.
class FileStamp
{
public:
    // The stamp of the file at path as it is now; a missing file has a stamp of its own.
    static FileStamp of(const QString &path);

    bool operator==(const FileStamp &other) const;
    bool operator!=(const FileStamp &other) const { return !(*this == other); }

private:
    qint64 m_size = -1;
    qint64 m_modified = 0;
    quint64 m_inode = 0;
    quint64 m_device = 0;
};
