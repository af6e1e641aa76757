#pragma once
#include <QString>

// Fixed addresses and places of one run. Built-in defaults come from the build; tests point
// them at a local server and a temporary folder.
struct AppConfig
{
    QString MainSiteAddress;
    QString HelpSiteAddress;
    QString SearchEngineAddress;
    QString SearchPartnerId;
    // The executable's name without extension: the settings store's application name.
    QString applicationName;
    // The folder that holds the executable, and the dictionary in a build or portable folder.
    QString applicationDir;
    // The per-user data folder that keeps the user's copy of an installed dictionary.
    QString userDataDir;
    // Where lookups read and updates write, once start-up has chosen; empty means beside the
    // executable.
    QString dictionaryFile;
    // Start-up found no dictionary it can read and has told the user why: the list starts
    // empty, without telling it a second time.
    bool dictionaryUnreadable = false;

    static AppConfig builtIn(const QString &applicationDir, const QString &applicationName);

    QString dictionaryPath() const;
};

// The application folder, a separator, and "dream.dll", with no further checks.
QString dictionaryPathIn(const QString &applicationDir);
