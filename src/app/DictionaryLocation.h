#pragma once
#include <QString>

// Decides where the dictionary lives for a run, from what was found on disk: beside the
// executable in a build or portable folder; otherwise in the user's own copy of the installed
// dictionary, made at first start and given the new rows of a newer installed dictionary.
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
        QString userCopy; // the user's own copy in the per-user data folder
        bool userCopyExists = false;
        // The stamp of the installed dictionary whose rows the copy last took; empty when
        // unknown.
        QString userCopyStamp;
        // Why the user's copy cannot be made or written, as a sentence naming the file or
        // folder; empty when it can.
        QString userFolderProblem;
    };

    enum class Action {
        UseBesideExecutable,
        UseUserCopy,
        CopyInstalled, // first start: make the user's copy, then use it
        MergeInstalled, // a different dictionary was installed: merge its rows into the copy
        UseInstalled, // no copy can be made; read the installed one
        Missing, // no dictionary anywhere
    };

    struct Plan
    {
        Action action = Action::Missing;
        // Where lookups read and updates write.
        QString dictionary;
        // What the user is told; empty when nothing is amiss.
        QString message;
    };

    static Plan decide(const Facts &facts);
};
