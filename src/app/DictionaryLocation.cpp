#include "DictionaryLocation.h"

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

    if (!facts.userCopyExists) {
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

    // A copy without a known origin is merged too: rows it already has are skipped, so the
    // worst case is a merge that adds nothing.
    if (facts.userCopyStamp == facts.installedStamp && !facts.userCopyStamp.isEmpty())
        return { Action::UseUserCopy, facts.userCopy, {} };
    if (!facts.userFolderProblem.isEmpty()) {
        return { Action::UseUserCopy, facts.userCopy,
            QStringLiteral("The new symbols of the installed dictionary could not be added "
                           "to your copy.\r%1\rSomnilex shows your copy as it is.")
                .arg(facts.userFolderProblem) };
    }
    return { Action::MergeInstalled, facts.userCopy, {} };
}
