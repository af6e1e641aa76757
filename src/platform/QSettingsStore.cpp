#include "QSettingsStore.h"

#include "PlainFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString organisation = QStringLiteral("Somnilex");
// Two dates and a zoom level take a few dozen bytes; a file far larger is none of ours.
constexpr qint64 LargestFile = 1 << 20;

// The files live where QSettings keeps them for the user: the organisation's folder in the
// user's configuration folder, one file per application.
constexpr bool ownFiles =
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    true;
#else
    false;
#endif

} // namespace

QSettingsStore::QSettingsStore(QString folder)
    : m_folder(folder.isEmpty()
            ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                + QLatin1Char('/') + organisation
            : std::move(folder))
{ }

QString QSettingsStore::fileOf(const QString &application) const
{
    return QDir(m_folder).filePath(application + QStringLiteral(".conf"));
}

QString QSettingsStore::refusal(const QString &file) const
{
    if (!ownFiles)
        return {};
    // Followed, a link may lead to the user's own settings file kept elsewhere; anything but a
    // regular file there is refused before QSettings opens it.
    const PlainFile::Kind kind = PlainFile::kindOf(file, true);
    QString what;
    if (kind == PlainFile::Kind::Missing) {
        if (PlainFile::kindOf(file, false) == PlainFile::Kind::Missing)
            return {};
        what = QStringLiteral("a symbolic link that leads nowhere");
    } else if (kind != PlainFile::Kind::Regular) {
        what = PlainFile::describe(kind);
    } else if (QFileInfo(file).size() > LargestFile) {
        what = QStringLiteral("larger than %1 bytes").arg(LargestFile);
    } else {
        return {};
    }
    return QStringLiteral("Somnilex did not use its settings file %1: it is %2, not a settings "
                          "file. Its settings are not kept until it is moved out of the folder "
                          "%3.")
        .arg(file, what, m_folder);
}

QString QSettingsStore::get(
    const QString &application, const QString &section, const QString &key) const
{
    if (!ownFiles) {
        const QSettings settings(organisation, application);
        m_problem.clear();
        return settings.value(section + QLatin1Char('/') + key).toString();
    }
    const QString file = fileOf(application);
    m_problem = refusal(file);
    if (!m_problem.isEmpty())
        return {};
    const QSettings settings(file, QSettings::IniFormat);
    return settings.value(section + QLatin1Char('/') + key).toString();
}

void QSettingsStore::save(
    const QString &application, const QString &section, const QString &key, const QString &value)
{
    if (!ownFiles) {
        QSettings settings(organisation, application);
        settings.setValue(section + QLatin1Char('/') + key, value);
        settings.sync();
        m_problem = settings.status() == QSettings::NoError ? QString() : saveProblem(QString());
        return;
    }
    const QString file = fileOf(application);
    m_problem = refusal(file);
    if (!m_problem.isEmpty())
        return;
    QSettings settings(file, QSettings::IniFormat);
    settings.setValue(section + QLatin1Char('/') + key, value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        m_problem = saveProblem(file);
}

QString QSettingsStore::saveProblem(const QString &file) const
{
    const QFileInfo folder(m_folder);
    QString why;
    if (folder.exists() && !folder.isDir())
        why = QStringLiteral(": %1 is not a folder").arg(m_folder);
    else if (folder.exists() && !folder.isWritable())
        why = QStringLiteral(": the folder cannot be written");
    else if (!file.isEmpty())
        why = QStringLiteral(": the file %1 could not be written").arg(file);
    return QStringLiteral("Somnilex could not save its settings in the folder %1%2. The update "
                          "reminder and the page zoom are not remembered.")
        .arg(m_folder, why);
}
