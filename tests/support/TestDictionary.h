#pragma once
// Real dictionary files in a temporary folder, for tests.
#include "DictionaryFile.h"
#include "DreamsTable.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <initializer_list>

inline std::vector<DictionaryRow> rowsOf(
    std::initializer_list<QString> keys, const QString &names = DreamsTable::Marker)
{
    std::vector<DictionaryRow> rows;
    for (const QString &key : keys)
        rows.push_back({ key, QStringLiteral("qrc:/dreams/") + key.toLower() + ".html", names });
    return rows;
}

// A temporary application folder holding dream.dll.
class TestFolder
{
public:
    TestFolder() { QVERIFY2(m_dir.isValid(), "temporary folder"); }
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }
    QString dictionary() const { return file(QStringLiteral("dream.dll")); }
    void writeDictionary(const std::vector<DictionaryRow> &rows) const
    {
        DictionaryFile::write(dictionary(), rows);
    }

private:
    QTemporaryDir m_dir;
};
