// The rows read once: the lower-cased copies of a column, made as QString::toLower makes them
// and kept in step by appends.
#include "DictionaryAccess.h"
#include "DictionaryCache.h"
#include "DreamsTable.h"
#include "LoweredColumn.h"
#include "TableSnapshot.h"
#include "TestDictionary.h"

#include <QtTest>

using namespace DictionaryAccess;

namespace {

// A row of table's columns with key in its Key column and nothing else set.
std::vector<QString> rowWithKey(const TableSnapshot &table, const QString &key)
{
    std::vector<QString> row(size_t(table.columns().size()));
    row[size_t(table.indexOf(DreamsTable::KeyColumn))] = key;
    return row;
}

QString loweredAt(const TableSnapshot &table, qint64 row)
{
    return table.lowered(table.indexOf(DreamsTable::KeyColumn))->at(row).toString();
}

} // namespace

class TestTableSnapshot : public QObject
{
    Q_OBJECT
private slots:
    void keysLowerCasedAsQtDoes_data();
    void keysLowerCasedAsQtDoes();
};

void TestTableSnapshot::keysLowerCasedAsQtDoes_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("capital first") << "Snake";
    QTest::newRow("all capitals with a space") << "SNAKE BITE";
    QTest::newRow("capital last") << "snakE";
    QTest::newRow("already lower") << "snake";
    QTest::newRow("digits and signs") << "R2-D2 & C-3PO!";
    QTest::newRow("accented capital") << "Échelle";
    QTest::newRow("dotted capital I") << QString(QChar(0x130)) + "stanbul";
    QTest::newRow("ASCII, then beyond") << "SNAKE Ärger";
    QTest::newRow("sharp s") << "Straße";
    QTest::newRow("Greek") << "ΟΔΥΣΣΕΥΣ";
    QTest::newRow("empty") << "";
}

// Searches compare the lower-cased keys made as the rows are read: they must be what
// QString::toLower makes of each key.
void TestTableSnapshot::keysLowerCasedAsQtDoes()
{
    QFETCH(QString, key);
    TestFolder folder;
    folder.writeDictionary({ { key, "https://dreams.test/a.html", "astro" } });
    DictionaryCache cache;
    const DreamsRows read = dreamsIn(cache, folder.dictionary());
    const int column = read->indexOf(DreamsTable::KeyColumn);
    const TableSnapshot lowered = read->withLowered(column);
    QCOMPARE(loweredAt(lowered, 0), key.toLower());

    // A row appended after the copies were made; the rows it was copied from stay as they were.
    TableSnapshot appended = lowered;
    appended.append(rowWithKey(appended, key + "X"));
    QCOMPARE(loweredAt(appended, 1), (key + "X").toLower());
    QCOMPARE(lowered.lowered(column)->rowCount(), qint64(1));

    // Rows that append before their first search in any case.
    TableSnapshot early = *read;
    early.append(rowWithKey(early, "Y" + key));
    const TableSnapshot searched = early.withLowered(column);
    QCOMPARE(loweredAt(searched, 1), ("Y" + key).toLower());
    QCOMPARE(loweredAt(searched, 0), key.toLower());
}

QTEST_GUILESS_MAIN(TestTableSnapshot)
#include "tst_tablesnapshot.moc"
