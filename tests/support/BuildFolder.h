#pragma once
// Where the build put the program and the files made with it, for tests that run or read them
// whether CTest starts them or someone runs them by hand.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QString>

// The folder holding file: the one SOMNILEX_BUILD_DIR names when set, otherwise the nearest at
// or above the test's own folder. Empty when there is none.
inline QString buildFolderHolding(const QString &file)
{
    const QString named = qEnvironmentVariable("SOMNILEX_BUILD_DIR");
    if (!named.isEmpty())
        return named;
    QDir folder(QCoreApplication::applicationDirPath());
    do {
        if (QFileInfo::exists(folder.filePath(file)))
            return folder.path();
    } while (folder.cdUp());
    return {};
}
