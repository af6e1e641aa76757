#pragma once
#include <QByteArray>
#include <QString>

// Small files the program keeps for itself, and files it reads at start, taken only when they
// are what they claim to be: a regular file, not a pipe that would stall the start, a device
// that never ends, a folder, or a link that would carry a write elsewhere.
class PlainFile
{
public:
    enum class Kind { Missing, Regular, Folder, Fifo, Device, Socket, Link, Other };

    // What is at path. With followLinks a symbolic link is what it leads to (Missing when it
    // leads nowhere); without, it is a Link.
    static Kind kindOf(const QString &path, bool followLinks);
    // The kind in words that finish "it is ...": "a folder", "a named pipe (FIFO)".
    static QString describe(Kind kind);

    struct Contents
    {
        bool read = false;
        QByteArray bytes;
        // Why nothing was read, finishing "it ..." ("is a device", "is larger than 4096 bytes");
        // empty when read or when there is no file.
        QString problem;
    };
    // The bytes of the regular file at path, when it holds at most limit bytes. Never waits on a
    // pipe nor opens a device. A link is followed only with followLinks, and only to a regular
    // file.
    static Contents read(const QString &path, qint64 limit, bool followLinks);

    // Puts a new regular file holding bytes at path, in place of whatever is there: a link is
    // replaced itself, never what it leads to. Returns why that failed; empty when done.
    static QString replace(const QString &path, const QByteArray &bytes);
};
