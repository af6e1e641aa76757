#pragma once
#include "DictionaryLocation.h"

#include <QDate>
#include <QString>

// Readies the dictionary for a run on disk: finds what DictionaryLocation decides on, checks the
// installed dictionary before taking anything from it, makes, merges or replaces the user's
// copy of it, and notes beside the copy which installed dictionary it last took rows from.
class UserDictionary
{
public:
    // applicationDir holds the executable; userDataDir is the per-user data folder; today
    // dates a copy that is set aside.
    UserDictionary(QString applicationDir, QString userDataDir, QDate today);

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
    void readStamp(DictionaryLocation::Facts &facts) const;
    void checkFiles(DictionaryLocation::Facts &facts) const;
    QString userFolderProblem() const;
    DictionaryLocation::Plan carryOut(
        DictionaryLocation::Facts &facts, const DictionaryLocation::Plan &plan) const;
    QString makeCopy(const DictionaryLocation::Facts &facts) const;
    QString mergeInstalled(const DictionaryLocation::Facts &facts) const;
    QString setAside(const QString &copy, QString &aside) const;
    void recordStamp(const QString &stamp) const;

    QString m_applicationDir;
    QString m_userDataDir;
    QDate m_today;
};
