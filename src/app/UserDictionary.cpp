#include "UserDictionary.h"

#include "AppConfig.h"
#include "DictionaryCache.h"
#include "DictionaryError.h"
#include "DictionaryFile.h"
#include "DictionaryUpdate.h"
#include "PlainFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString DictionaryName = QStringLiteral("dream.dll");
const QString StampName = QStringLiteral("dream.dll.installed");
// A stamp is 64 hexadecimal digits; a note far longer than that is none of ours.
constexpr qint64 LongestNote = 4096;
// A database's name and what SQLite keeps beside it under the same name. They go wherever the
// database goes: a journal left beside a new file would be played back into it.
const QString WithSidecars[]
    = { QString(), QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm") };

// Paragraphs of one message.
QString joined(const QStringList &parts)
{
    QStringList said;
    for (const QString &part : parts) {
        if (!part.isEmpty())
            said << part;
    }
    return said.join(QStringLiteral("\r\r"));
}

} // namespace

UserDictionary::UserDictionary(QString applicationDir, QString userDataDir, QDate today)
    : m_applicationDir(std::move(applicationDir))
    , m_userDataDir(std::move(userDataDir))
    , m_today(today)
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
    const PlainFile::Kind copy = facts.userCopy.isEmpty() ? PlainFile::Kind::Missing
                                                          : PlainFile::kindOf(facts.userCopy, true);
    facts.userCopyExists = copy == PlainFile::Kind::Regular;
    if (facts.userCopyExists)
        readStamp(facts);
    if (!facts.installedExists)
        return facts;
    facts.userFolderProblem = userFolderProblem();
    if (facts.userFolderProblem.isEmpty() && copy != PlainFile::Kind::Missing
        && copy != PlainFile::Kind::Regular)
        facts.userFolderProblem
            = QStringLiteral("%1 is %2, not a dictionary file, and Somnilex leaves it alone.")
                  .arg(facts.userCopy, PlainFile::describe(copy));
    checkFiles(facts);
    return facts;
}

void UserDictionary::readStamp(DictionaryLocation::Facts &facts) const
{
    // Only a small file of our own: a pipe there would stall the start, a link to a device
    // would never end.
    const PlainFile::Contents note = PlainFile::read(stampPath(), LongestNote, false);
    if (note.read)
        facts.userCopyStamp = QString::fromLatin1(note.bytes).trimmed();
    else if (!note.problem.isEmpty())
        facts.userCopyStampProblem
            = QStringLiteral("The file %1 was not read: it %2. Somnilex keeps a short note of "
                             "its own there.")
                  .arg(stampPath(), note.problem);
}

void UserDictionary::checkFiles(DictionaryLocation::Facts &facts) const
{
    if (facts.installed == facts.userCopy)
        return;
    if (facts.userCopyExists) {
        try {
            DictionaryFile::probe(facts.userCopy);
        } catch (const DictionaryError &e) {
            // A copy that is only locked or not allowed now may be fine; it is never set aside.
            if (e.cause() == DictionaryError::Cause::Damaged)
                facts.userCopyDamage = e.message();
        }
    }
    const bool alreadyTaken = facts.userCopyExists && facts.userCopyDamage.isEmpty()
        && !facts.userCopyStamp.isEmpty() && facts.userCopyStamp == facts.installedStamp;
    if (alreadyTaken)
        return;
    // Every row is read before any is copied or merged: a file cut short can open and still
    // fail further on.
    try {
        DictionaryFile::walk(facts.installed, [](const StoredRow &) {});
    } catch (const DictionaryError &e) {
        facts.installedProblem = e.message();
        facts.installedDamaged = e.cause() == DictionaryError::Cause::Damaged;
    }
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
    DictionaryLocation::Plan plan = carryOut(facts, DictionaryLocation::decide(facts));
    plan.message = joined({ facts.userCopyStampProblem, plan.message });
    return plan;
}

DictionaryLocation::Plan UserDictionary::carryOut(
    DictionaryLocation::Facts &facts, const DictionaryLocation::Plan &plan) const
{
    QString problem;
    QString setAsideNote;
    switch (plan.action) {
    case DictionaryLocation::Action::CopyInstalled:
        problem = makeCopy(facts);
        break;
    case DictionaryLocation::Action::MergeInstalled:
        problem = mergeInstalled(facts);
        break;
    case DictionaryLocation::Action::ReplaceUserCopy: {
        QString aside;
        problem = setAside(facts.userCopy, aside);
        if (!problem.isEmpty())
            break;
        setAsideNote = DictionaryLocation::setAsideMessage(facts, aside);
        facts.userCopyExists = false;
        facts.userCopyDamage.clear();
        problem = makeCopy(facts);
        if (!problem.isEmpty())
            break;
        DictionaryLocation::Plan replaced = plan;
        replaced.message = setAsideNote
            + QStringLiteral("\rSomnilex made a new copy from the installed "
                             "dictionary.");
        return replaced;
    }
    default:
        return plan;
    }
    if (problem.isEmpty())
        return plan;
    facts.userFolderProblem = problem;
    DictionaryLocation::Plan again = DictionaryLocation::decide(facts);
    again.message = joined({ setAsideNote, again.message });
    return again;
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

QString UserDictionary::setAside(const QString &copy, QString &aside) const
{
    // Dated, and never over anything already there: the file may hold the only record of
    // symbols the user added.
    const QString base = copy + QStringLiteral(".damaged-") + m_today.toString(Qt::ISODate);
    auto taken = [](const QString &name) {
        for (const QString &sidecar : WithSidecars) {
            if (PlainFile::kindOf(name + sidecar, false) != PlainFile::Kind::Missing)
                return true;
        }
        return false;
    };
    aside = base;
    for (int n = 2; taken(aside); ++n)
        aside = base + QLatin1Char('-') + QString::number(n);
    for (const QString &sidecar : WithSidecars) {
        if (PlainFile::kindOf(copy + sidecar, false) == PlainFile::Kind::Missing)
            continue;
        QFile file(copy + sidecar);
        if (!file.rename(aside + sidecar))
            return QStringLiteral("The file %1 could not be renamed to %2: %3.")
                .arg(copy + sidecar, aside + sidecar, file.errorString());
    }
    return {};
}

void UserDictionary::recordStamp(const QString &stamp) const
{
    // Not fatal when it fails: without a stamp the next start merges again, which adds nothing.
    // Whatever is in the note's place is replaced, never written through.
    PlainFile::replace(stampPath(), stamp.toLatin1() + '\n');
}
