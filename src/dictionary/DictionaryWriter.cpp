#include "DictionaryWriter.h"
#include "DictionaryError.h"
#include "DictionaryPassword.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

const QString PartialMark = QStringLiteral(".somnilex-partial-");

QString systemError(int error)
{
    if (error == ENOSPC
#ifdef EDQUOT
        || error == EDQUOT
#endif
    )
        return QStringLiteral("the disk is full");
    if (error == EROFS)
        return QStringLiteral("the disk is read-only");
    if (error == EACCES || error == EPERM)
        return QStringLiteral("permission denied");
    return QString::fromLocal8Bit(std::strerror(error));
}

// What went wrong, in words a user can act on; SQLite's own texts ("disk I/O error") say less.
QString sqliteError(sqlite3 *db, int rc)
{
    const int system = db ? sqlite3_system_errno(db) : 0;
    switch (rc & 0xff) {
    case SQLITE_FULL:
        return QStringLiteral("the disk is full");
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        if (system != 0)
            return systemError(system);
        break;
    case SQLITE_READONLY:
        return QStringLiteral("the disk is read-only");
    case SQLITE_TOOBIG:
        return QStringLiteral("a cell is too long to store");
    default:
        break;
    }
    // Without a handle, sqlite3_errmsg() only ever says "out of memory".
    return QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
}

// The hidden files that writers for destination made, with the process id of each writer.
QList<QPair<QString, qint64>> partialsOf(const QFileInfo &destination)
{
    const QRegularExpression ours(QLatin1Char('^')
        + QRegularExpression::escape(QLatin1Char('.') + destination.fileName() + PartialMark)
        + QStringLiteral("(\\d+)-[0-9a-f]+(?:-journal|-wal|-shm)?$"));
    QList<QPair<QString, qint64>> found;
    const QDir folder = destination.absoluteDir();
    // No name filter: QDir would read a "[" or "*" in the destination's name as a wildcard.
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        const auto match = ours.match(name);
        if (match.hasMatch())
            found.append({ folder.filePath(name), match.captured(1).toLongLong() });
    }
    return found;
}

bool processRuns(qint64 pid)
{
#ifdef Q_OS_UNIX
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return false; // no process has that id
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
#else
    Q_UNUSED(pid);
    return true; // cannot tell: leave the file
#endif
}

// Best effort: a file (or a folder's entries) on disk before anything depends on it.
void syncToDisk(const QString &path)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(path);
#endif
}

} // namespace

DictionaryWriter::DictionaryWriter(QString path, Existing existing)
    : m_path(std::move(path))
    , m_existing(existing)
{
    checkDestination();
    removeStalePartials();
    createPartial();
    try {
        open();
    } catch (...) {
        discard();
        throw;
    }
}

DictionaryWriter::~DictionaryWriter()
{
    discard();
}

void DictionaryWriter::checkDestination() const
{
    const QFileInfo target(m_path);
    if (target.fileName().isEmpty())
        throw DictionaryError(
            QStringLiteral("Could not write \"%1\": it names no file; name the file to make.")
                .arg(m_path));
    if (target.isDir())
        throw DictionaryError(
            QStringLiteral("Could not write %1: it is a folder; name the file to make in it.")
                .arg(m_path));
    const QFileInfo folder(target.absolutePath());
    if (!folder.exists())
        throw DictionaryError(QStringLiteral("Could not write %1: the folder %2 does not exist.")
                                  .arg(m_path, folder.filePath()));
    if (!folder.isDir())
        throw DictionaryError(QStringLiteral("Could not write %1: %2 is not a folder.")
                                  .arg(m_path, folder.filePath()));
    if (m_existing == Existing::Refuse && (target.exists() || target.isSymLink()))
        throw DictionaryError(QStringLiteral("The file %1 already exists.").arg(m_path));
}

// A killed run cannot clean up after itself; the next run for the same file does, sparing the
// files of runs that are still going.
void DictionaryWriter::removeStalePartials() const
{
    for (const auto &[file, pid] : partialsOf(QFileInfo(m_path))) {
        if (!processRuns(pid))
            QFile::remove(file);
    }
}

void DictionaryWriter::createPartial()
{
    const QFileInfo target(m_path);
    m_partial = target.absolutePath() + QStringLiteral("/.") + target.fileName() + PartialMark
        + QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-')
        + QString::number(QRandomGenerator::global()->generate(), 16);
    // Made here rather than by SQLite, whose "unable to open database file" would hide why.
#ifdef Q_OS_UNIX
    const int fd = ::open(
        QFile::encodeName(m_partial).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    const bool made = fd >= 0;
    const QString reason = made ? QString() : systemError(errno);
    if (made)
        ::close(fd);
#else
    QFile file(m_partial);
    const bool made = file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
    const QString reason = file.errorString();
#endif
    if (!made) {
        m_partial.clear();
        fail(QStringLiteral("making a file in %1")
                 .arg(QDir::toNativeSeparators(target.absolutePath())),
            reason);
    }
}

void DictionaryWriter::open()
{
    const QByteArray nativePartial = QFile::encodeName(m_partial);
    // The handle is read only after the open has set it.
    const int opened
        = sqlite3_open_v2(nativePartial.constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    check(opened, QStringLiteral("opening it"));
    check(sqlite3_key(m_db, DictionaryPassword, int(std::strlen(DictionaryPassword))),
        QStringLiteral("setting the password"));
    // The file is thrown away on any failure, so a rollback journal would buy nothing but a
    // second file as large as the first.
    check(sqlite3_exec(m_db, "PRAGMA journal_mode=OFF", nullptr, nullptr, nullptr),
        QStringLiteral("setting it up"));
    check(sqlite3_exec(m_db, "BEGIN", nullptr, nullptr, nullptr), QStringLiteral("starting"));
    check(sqlite3_exec(m_db, "CREATE TABLE dreams (Key TEXT, Link TEXT, Names TEXT)", nullptr,
              nullptr, nullptr),
        QStringLiteral("creating the table"));
    check(sqlite3_prepare_v2(m_db, "INSERT INTO dreams (Key, Link, Names) VALUES (?, ?, ?)", -1,
              &m_insert, nullptr),
        QStringLiteral("preparing"));
}

void DictionaryWriter::add(const StoredRow &row)
{
    if (!m_insert)
        throw DictionaryError(
            QStringLiteral("Could not write %1: it is already finished.").arg(m_path));
    const QByteArray *cells[] = { &row.key, &row.link, &row.names };
    for (int i = 0; i < 3; ++i) {
        const QByteArray &cell = *cells[i];
        // Never bind a null pointer: that would store NULL, not the empty text.
        const char *data = cell.isNull() ? "" : cell.constData();
        check(sqlite3_bind_text(m_insert, i + 1, data, int(cell.size()), SQLITE_STATIC),
            QStringLiteral("adding row %1").arg(m_rows + 1));
    }
    const int stepped = sqlite3_step(m_insert);
    sqlite3_reset(m_insert);
    check(stepped, QStringLiteral("adding row %1").arg(m_rows + 1));
    ++m_rows;
}

void DictionaryWriter::add(const DictionaryRow &row)
{
    add(StoredRow { row.key.toUtf8(), row.link.toUtf8(), row.names.toUtf8() });
}

void DictionaryWriter::commit()
{
    sqlite3_finalize(m_insert);
    m_insert = nullptr;
    check(sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr), QStringLiteral("finishing it"));
    check(sqlite3_close(m_db), QStringLiteral("closing it"));
    m_db = nullptr;
    // The rows must be on disk before the file takes the name, or a power cut could leave an
    // empty file where the old one was.
    syncToDisk(m_partial);
    moveIntoPlace();
    m_partial.clear();
    syncToDisk(QFileInfo(m_path).absolutePath());
}

void DictionaryWriter::moveIntoPlace()
{
    const QByteArray from = QFile::encodeName(m_partial);
    const QByteArray to = QFile::encodeName(m_path);
    const auto alreadyExists = [this] {
        throw DictionaryError(
            QStringLiteral("The file %1 already exists; it was left as it is.").arg(m_path));
    };
    if (m_existing == Existing::Refuse) {
#ifdef Q_OS_LINUX
        // Atomic: a file that appeared while we wrote is never replaced.
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE)
            == 0)
            return;
        if (errno == EEXIST)
            alreadyExists();
        if (errno != EINVAL && errno != ENOSYS)
            fail(QStringLiteral("giving it its name"), systemError(errno));
#endif
        if (QFileInfo::exists(m_path) || QFileInfo(m_path).isSymLink())
            alreadyExists();
    }
    if (std::rename(from.constData(), to.constData()) != 0)
        fail(QStringLiteral("giving it its name"), systemError(errno));
}

void DictionaryWriter::discard()
{
    sqlite3_finalize(m_insert);
    m_insert = nullptr;
    sqlite3_close(m_db);
    m_db = nullptr;
    if (m_partial.isEmpty())
        return;
    QFile::remove(m_partial);
    QFile::remove(m_partial + QStringLiteral("-journal"));
    m_partial.clear();
}

void DictionaryWriter::check(int rc, const QString &what) const
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        fail(what, sqliteError(m_db, rc));
}

void DictionaryWriter::fail(const QString &what, const QString &reason) const
{
    throw DictionaryError(QStringLiteral("Could not write %1 (%2): %3.").arg(m_path, what, reason));
}
