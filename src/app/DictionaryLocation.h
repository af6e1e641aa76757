#pragma once
#include <QString>

// Decides where the dictionary lives for a run, from what was found on disk: beside the
// executable in a build or portable folder; otherwise in the user's own copy of the installed
// dictionary, made at first start and given the new rows of a newer installed dictionary. A
// damaged installed dictionary is never copied or merged; a copy that does not open is set
// aside and made anew.
class DictionaryLocation
{
public:
    struct Facts
    {
        QString besideExecutable; // dream.dll in the executable's folder
        bool besideExecutableExists = false;
        QString installed; // the dictionary installed with the program
        bool installedExists = false;
        // Tells one installed dictionary from another.
        QString installedStamp;
        // Why the installed dictionary cannot be read, as the reading said it; empty when it
        // reads or was not looked at. installedDamaged: its bytes are no dictionary.
        QString installedProblem;
        bool installedDamaged = false;
        QString userCopy; // the user's own copy in the per-user data folder
        bool userCopyExists = false;
        // Why the user's copy does not open as a dictionary; empty when it opens or was not
        // looked at. A copy that is only locked or not allowed counts as one that opens.
        QString userCopyDamage;
        // The stamp of the installed dictionary whose rows the copy last took; empty when
        // unknown.
        QString userCopyStamp;
        // Why the note holding that stamp was not read, as a sentence naming it; empty when it
        // was read or is missing.
        QString userCopyStampProblem;
        // Why the user's copy cannot be made or written, as a sentence naming the file or
        // folder; empty when it can.
        QString userFolderProblem;
    };

    enum class Action {
        UseBesideExecutable,
        UseUserCopy,
        CopyInstalled, // first start: make the user's copy, then use it
        MergeInstalled, // a different dictionary was installed: merge its rows into the copy
        ReplaceUserCopy, // the copy does not open: set it aside and copy the installed one anew
        UseInstalled, // no copy can be made; read the installed one
        Unreadable, // no dictionary here can be read: the list stays empty
        Missing, // no dictionary anywhere
    };

    struct Plan
    {
        Action action = Action::Missing;
        // Where lookups read and updates write.
        QString dictionary;
        // What the user is told; empty when nothing is amiss.
        QString message;
        // False when the message has told already that the dictionary cannot be read.
        bool readable = true;
    };

    static Plan decide(const Facts &facts);

    // What the user is told once a copy that did not open is kept as aside; what became of the
    // new copy follows.
    static QString setAsideMessage(const Facts &facts, const QString &aside);

private:
    static Plan decideWithoutCopy(const Facts &facts);
    static Plan decideForDamagedCopy(const Facts &facts);
};
