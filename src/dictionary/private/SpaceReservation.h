#pragma once
#include <QString>
#include <QtGlobal>

// Disk space set aside for a file to grow into, without changing a byte of the file, so that a
// commit cannot run out of room half-way through writing it. Where the system cannot set space
// aside (not Linux, or a file system without the call) nothing is, and a full disk is found by
// the commit as before.
//
// Holds the file open from construction to destruction: closing a descriptor drops every lock
// this process holds on the file, SQLite's among them, so it must outlive the transaction.
class SpaceReservation
{
public:
    explicit SpaceReservation(QString path);
    ~SpaceReservation();
    SpaceReservation(const SpaceReservation &) = delete;
    SpaceReservation &operator=(const SpaceReservation &) = delete;

    // Sets aside room for the file to grow to size bytes. Throws DictionaryError when the disk
    // has not got it.
    void reserve(qint64 size);
    // Gives back the room the file has not grown into. Only under the write lock: past it, the
    // file's end may be another writer's.
    void giveBack();

private:
    QString m_path;
    int m_fd = -1;
};
