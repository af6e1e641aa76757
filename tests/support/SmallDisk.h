#pragma once
// A small file system of a test's own to fill: a tmpfs mounted on a temporary folder and
// unmounted when done. Mounting takes root (or the right to mount); where it cannot be had,
// mounted() is false and error() says why.
#include <QFile>
#include <QProcess>
#include <QStorageInfo>
#include <QTemporaryDir>

class SmallDisk
{
public:
    // size as mount takes it: "3m".
    explicit SmallDisk(const QString &size)
    {
        if (!m_dir.isValid()) {
            m_error = QStringLiteral("no temporary folder for the mount point");
            return;
        }
        QProcess mount;
        mount.setProcessChannelMode(QProcess::MergedChannels);
        mount.start(QStringLiteral("mount"),
            { QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                QStringLiteral("size=") + size, QStringLiteral("somnilex-test"), m_dir.path() });
        if (!mount.waitForFinished(60000)) {
            m_error = mount.errorString();
            return;
        }
        m_mounted = mount.exitStatus() == QProcess::NormalExit && mount.exitCode() == 0;
        if (!m_mounted)
            m_error = QString::fromLocal8Bit(mount.readAll()).trimmed();
    }
    ~SmallDisk()
    {
        // Lazily, should something still hold a file there: a mount is never left behind.
        if (m_mounted && QProcess::execute(QStringLiteral("umount"), { m_dir.path() }) != 0)
            QProcess::execute(QStringLiteral("umount"), { QStringLiteral("-l"), m_dir.path() });
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool mounted() const { return m_mounted; }
    const QString &error() const { return m_error; }
    QString file(const QString &name) const { return m_dir.filePath(name); }

    // Fills the disk with a file of its own until no more than room bytes are left.
    bool fillLeaving(qint64 room)
    {
        QStorageInfo disk(m_dir.path());
        QFile filler(file(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly))
            return false;
        const QByteArray block(4096, 'f');
        qint64 left = disk.bytesAvailable() - room;
        while (left > 0 && filler.write(block.constData(), qMin<qint64>(left, block.size())) > 0) {
            left -= block.size();
            if (!filler.flush())
                break;
        }
        filler.close();
        disk.refresh();
        return disk.bytesAvailable() <= room;
    }

private:
    QTemporaryDir m_dir;
    QString m_error;
    bool m_mounted = false;
};
