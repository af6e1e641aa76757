#pragma once
// An installation prefix (bin/ and share/somnilex/) and a user's data folder, side by side in a
// temporary folder, for the tests of where the dictionary lives.
#include "TestDictionary.h"
#include "UserDictionary.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>

namespace InstalledLayout {

// The day a copy that is set aside is dated with.
const QDate Today(2026, 12, 8);

inline QStringList keysOf(const QString &path)
{
    QStringList keys;
    for (const DictionaryRow &row : DictionaryFile::read(path))
        keys << row.key;
    return keys;
}

inline QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QString textOf(const QString &path)
{
    return QString::fromLatin1(bytesOf(path)).trimmed();
}

inline std::vector<DictionaryRow> rowsOfKeys(const QStringList &keys)
{
    std::vector<DictionaryRow> rows;
    for (const QString &key : keys)
        rows.push_back(rowsOf({ key }).front());
    return rows;
}

} // namespace InstalledLayout

struct Installation
{
    TestFolder root;
    QString bin = root.file("bin");
    QString installed = root.file("share/somnilex/dream.dll");
    QString data = root.file("home/data/somnilex");
    QString copy = root.file("home/data/somnilex/dream.dll");

    Installation()
    {
        QDir().mkpath(bin);
        QDir().mkpath(QFileInfo(installed).path());
    }
    void install(std::initializer_list<QString> keys) const
    {
        DictionaryFile::write(installed, rowsOf(keys));
    }
    UserDictionary user() const { return UserDictionary(bin, data, InstalledLayout::Today); }
};
