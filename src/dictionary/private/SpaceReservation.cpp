#include "SpaceReservation.h"

#include "DictionaryError.h"

#include <QFile>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

SpaceReservation::SpaceReservation(QString path)
    : m_path(std::move(path))
{
#ifdef Q_OS_LINUX
    m_fd = ::open(QFile::encodeName(m_path).constData(), O_WRONLY | O_CLOEXEC);
#endif
}

SpaceReservation::~SpaceReservation()
{
#ifdef Q_OS_LINUX
    if (m_fd >= 0)
        ::close(m_fd);
#endif
}

void SpaceReservation::reserve(qint64 size)
{
#ifdef Q_OS_LINUX
    struct stat info;
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0 || info.st_size >= size)
        return;
    int rc;
    do {
        rc = ::fallocate(m_fd, FALLOC_FL_KEEP_SIZE, info.st_size, size - info.st_size);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0 || errno == EOPNOTSUPP || errno == ENOSYS)
        return;
    const int error = errno;
    giveBack();
    throw DictionaryError(QStringLiteral("The disk holding the dictionary file %1 has no room for "
                                         "the new rows (%2 bytes more are needed): %3.")
                              .arg(m_path)
                              .arg(size - info.st_size)
                              .arg(QString::fromLocal8Bit(std::strerror(error))));
#else
    Q_UNUSED(size);
#endif
}

void SpaceReservation::giveBack()
{
#ifdef Q_OS_LINUX
    // Truncating to the size it has keeps every byte and frees what lies beyond the end.
    struct stat info;
    if (m_fd >= 0 && ::fstat(m_fd, &info) == 0)
        (void)::ftruncate(m_fd, info.st_size);
#endif
}
