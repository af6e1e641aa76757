#include "DictionaryLocation.h"

namespace {

// What is wrong with the installed dictionary, after its name.
QString installedState(const DictionaryLocation::Facts &facts)
{
    return facts.installedDamaged ? QStringLiteral("is damaged")
                                  : QStringLiteral("could not be read");
}

} // namespace

DictionaryLocation::Plan DictionaryLocation::decide(const Facts &facts)
{
    // A dictionary beside the executable wins: build folders and portable copies keep working
    // as they always have, updates included.
    if (facts.besideExecutableExists)
        return { Action::UseBesideExecutable, facts.besideExecutable, {} };

    // Installed into the user's own data folder (a ~/.local prefix), the installed file is the
    // user's copy; merging it into itself would add nothing.
    if (facts.installedExists && facts.installed == facts.userCopy)
        return { Action::UseUserCopy, facts.userCopy, {} };

    if (!facts.installedExists) {
        // With the program's own file gone, the user's copy still holds every symbol.
        if (facts.userCopyExists)
            return { Action::UseUserCopy, facts.userCopy, {} };
        return { Action::Missing, facts.besideExecutable,
            QStringLiteral("The dictionary dream.dll was not found.\r"
                           "Somnilex looked for %1 and %2.")
                .arg(facts.besideExecutable, facts.installed) };
    }

    if (!facts.userCopyExists)
        return decideWithoutCopy(facts);
    if (!facts.userCopyDamage.isEmpty())
        return decideForDamagedCopy(facts);

    // A copy without a known origin is merged too: rows it already has are skipped, so the
    // worst case is a merge that adds nothing.
    if (facts.userCopyStamp == facts.installedStamp && !facts.userCopyStamp.isEmpty())
        return { Action::UseUserCopy, facts.userCopy, {} };
    // Not taken, so a mended installed dictionary is merged at the next start.
    if (!facts.installedProblem.isEmpty()) {
        return { Action::UseUserCopy, facts.userCopy,
            QStringLiteral("The installed dictionary %1 %2, so its new symbols were not added to "
                           "your copy.\r%3\rSomnilex shows your copy as it is. Installing "
                           "Somnilex again mends the installed dictionary.")
                .arg(facts.installed, installedState(facts), facts.installedProblem) };
    }
    if (!facts.userFolderProblem.isEmpty()) {
        return { Action::UseUserCopy, facts.userCopy,
            QStringLiteral("The new symbols of the installed dictionary could not be added "
                           "to your copy.\r%1\rSomnilex shows your copy as it is.")
                .arg(facts.userFolderProblem) };
    }
    return { Action::MergeInstalled, facts.userCopy, {} };
}

DictionaryLocation::Plan DictionaryLocation::decideWithoutCopy(const Facts &facts)
{
    // A broken file copied would become the user's own and stay broken after the package is
    // mended; with nothing copied, the next start after the mend copies the good one.
    if (!facts.installedProblem.isEmpty()) {
        return { Action::Unreadable, facts.installed,
            QStringLiteral("The installed dictionary %1 %2, so Somnilex has no symbols to "
                           "show.\r%3\rInstalling Somnilex again mends it.")
                .arg(facts.installed, installedState(facts), facts.installedProblem),
            false };
    }
    if (!facts.userFolderProblem.isEmpty()) {
        // Reading the installed file still lets the user look things up. It belongs to the
        // system, so an update fails on it and says so.
        return { Action::UseInstalled, facts.installed,
            QStringLiteral("Your own copy of the dictionary could not be made.\r%1\r"
                           "Somnilex shows the installed dictionary, and File > Update "
                           "cannot add to it.")
                .arg(facts.userFolderProblem) };
    }
    return { Action::CopyInstalled, facts.userCopy, {} };
}

DictionaryLocation::Plan DictionaryLocation::decideForDamagedCopy(const Facts &facts)
{
    // Only an intact installed dictionary can take the copy's place; until then the copy stays
    // where it is, as it is.
    if (!facts.installedProblem.isEmpty()) {
        return { Action::Unreadable, facts.userCopy,
            QStringLiteral("Your copy of the dictionary %1 does not open, and the installed "
                           "dictionary %2 %3, so Somnilex has no symbols to show.\r%4\r%5\r"
                           "Installing Somnilex again mends it; your copy is kept as it is.")
                .arg(facts.userCopy, facts.installed, installedState(facts), facts.userCopyDamage,
                    facts.installedProblem),
            false };
    }
    if (!facts.userFolderProblem.isEmpty()) {
        return { Action::UseInstalled, facts.installed,
            QStringLiteral("Your copy of the dictionary %1 does not open, and a new one could "
                           "not be made.\r%2\r%3\rSomnilex shows the installed dictionary, and "
                           "File > Update cannot add to it.")
                .arg(facts.userCopy, facts.userCopyDamage, facts.userFolderProblem) };
    }
    return { Action::ReplaceUserCopy, facts.userCopy, {} };
}

QString DictionaryLocation::setAsideMessage(const Facts &facts, const QString &aside)
{
    return QStringLiteral("Your copy of the dictionary %1 did not open, so it was kept as %2.\r%3")
        .arg(facts.userCopy, aside, facts.userCopyDamage);
}
