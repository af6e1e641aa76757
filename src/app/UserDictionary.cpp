#include "UserDictionary.h"

#include "AppConfig.h"
#include "DictionaryCache.h"
#include "DictionaryUpdate.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString DictionaryName = QStringLiteral("dream.dll");
const QString StampName = QStringLiteral("dream.dll.installed");

} // namespace

UserDictionary::UserDictionary(QString applicationDir, QString userDataDir)
    : m_applicationDir(std::move(applicationDir))
    , m_userDataDir(std::move(userDataDir))
{ }

QString UserDictionary::installedPath() const
{
    return QDir::cleanPath(m_applicationDir + QLatin1Char('/')
        + QStringLiteral(SOMNILEX_INSTALLED_DATA_DIR) + QLatin1Char('/') + DictionaryName);
}

QString UserDictionary::userCopyPath() const
{
    return m_userDataDir.isEmpty()
        ? QString()
        : QDir::cleanPath(m_userDataDir + QLatin1Char('/') + DictionaryName);
}

QString UserDictionary::stampPath() const
{
    return m_userDataDir.isEmpty() ? QString() : QDir(m_userDataDir).filePath(StampName);
}

QString UserDictionary::stampOf(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return QString::fromLatin1(hash.result().toHex());
}

DictionaryLocation::Facts UserDictionary::facts() const
{
    DictionaryLocation::Facts facts;
    facts.besideExecutable = dictionaryPathIn(m_applicationDir);
    facts.besideExecutableExists = QFileInfo(facts.besideExecutable).isFile();
    facts.installed = installedPath();
    facts.userCopy = userCopyPath();
    // A portable run looks no further, so it leaves nothing in the user's folders.
    if (facts.besideExecutableExists)
        return facts;

    facts.installedExists = QFileInfo(facts.installed).isFile();
    if (facts.installedExists)
        facts.installedStamp = stampOf(facts.installed);
    facts.userCopyExists = !facts.userCopy.isEmpty() && QFileInfo(facts.userCopy).isFile();
    QFile stamp(stampPath());
    if (facts.userCopyExists && stamp.open(QIODevice::ReadOnly))
        facts.userCopyStamp = QString::fromLatin1(stamp.readAll()).trimmed();
    if (facts.installedExists)
        facts.userFolderProblem = userFolderProblem();
    return facts;
}

QString UserDictionary::userFolderProblem() const
{
    if (m_userDataDir.isEmpty())
        return QStringLiteral("No per-user data folder is known.");
    if (!QDir().mkpath(m_userDataDir))
        return QStringLiteral("The folder %1 could not be made.").arg(m_userDataDir);
    if (!QFileInfo(m_userDataDir).isWritable())
        return QStringLiteral("The folder %1 cannot be written.").arg(m_userDataDir);
    return {};
}

DictionaryLocation::Plan UserDictionary::prepare() const
{
    DictionaryLocation::Facts facts = this->facts();
    DictionaryLocation::Plan plan = DictionaryLocation::decide(facts);
    QString problem;
    if (plan.action == DictionaryLocation::Action::CopyInstalled)
        problem = makeCopy(facts);
    else if (plan.action == DictionaryLocation::Action::MergeInstalled)
        problem = mergeInstalled(facts);
    if (problem.isEmpty())
        return plan;
    facts.userFolderProblem = problem;
    return DictionaryLocation::decide(facts);
}

QString UserDictionary::makeCopy(const DictionaryLocation::Facts &facts) const
{
    // Copied under another name and renamed once whole, so an interrupted copy never passes
    // for the user's dictionary at the next start.
    const QString partial = facts.userCopy + QStringLiteral(".partial");
    QFile::remove(partial);
    QFile installed(facts.installed);
    if (!installed.copy(partial)) {
        QFile::remove(partial);
        return QStringLiteral("The dictionary %1 could not be copied to %2: %3.")
            .arg(facts.installed, partial, installed.errorString());
    }
    // The copy keeps the installed file's permissions, which may not let its owner write.
    QFile copy(partial);
    copy.setPermissions(copy.permissions() | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!copy.rename(facts.userCopy)) {
        const QString reason = copy.errorString();
        QFile::remove(partial);
        return QStringLiteral("The copy %1 could not be renamed to %2: %3.")
            .arg(partial, facts.userCopy, reason);
    }
    recordStamp(facts.installedStamp);
    return {};
}

QString UserDictionary::mergeInstalled(const DictionaryLocation::Facts &facts) const
{
    // The same merge as File > Update: a row whose Link the copy has is skipped, so the user's
    // own rows stay and only the new symbols are added.
    // Handles of their own, let go before the program opens the copy for its list.
    DictionaryCache files;
    const DictionaryUpdate::Result result
        = DictionaryUpdate(files, facts.installed, facts.userCopy).run();
    switch (result.outcome) {
    case DictionaryUpdate::Outcome::Merged:
    case DictionaryUpdate::Outcome::NothingToUpdate:
        recordStamp(facts.installedStamp);
        return {};
    case DictionaryUpdate::Outcome::WrongFile:
        return QStringLiteral("The installed dictionary %1 has rows an update cannot add.")
            .arg(facts.installed);
    case DictionaryUpdate::Outcome::Failed:
        break;
    }
    return result.error;
}

void UserDictionary::recordStamp(const QString &stamp) const
{
    // Not fatal when it fails: without a stamp the next start merges again, which adds nothing.
    QSaveFile file(stampPath());
    if (file.open(QIODevice::WriteOnly)) {
        file.write(stamp.toLatin1() + '\n');
        file.commit();
    }
}
