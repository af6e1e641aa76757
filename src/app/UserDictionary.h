#pragma once
#include "DictionaryLocation.h"

#include <QString>

// Readies the dictionary for a run on disk: finds what DictionaryLocation decides on, makes or
// merges the user's copy of the installed dictionary, and notes beside the copy which
// installed dictionary it last took rows from.
class UserDictionary
{
public:
    // applicationDir holds the executable; userDataDir is the per-user data folder.
    UserDictionary(QString applicationDir, QString userDataDir);

    // Found relative to the executable, so the program works under any installation prefix.
    QString installedPath() const;
    QString userCopyPath() const;
    // The file beside the copy that holds the stamp of the installed dictionary it came from.
    QString stampPath() const;

    DictionaryLocation::Facts facts() const;
    // Decides and carries the decision out. A copy or merge that fails is decided again with
    // the reason, so the plan returned names a dictionary that can be read and what to tell
    // the user.
    DictionaryLocation::Plan prepare() const;

    // Tells two dictionary files apart by their bytes; empty when the file cannot be read.
    static QString stampOf(const QString &path);

private:
    QString userFolderProblem() const;
    QString makeCopy(const DictionaryLocation::Facts &facts) const;
    QString mergeInstalled(const DictionaryLocation::Facts &facts) const;
    void recordStamp(const QString &stamp) const;

    QString m_applicationDir;
    QString m_userDataDir;
};
