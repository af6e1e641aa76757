#include "ColumnNames.h"
#include "DictionaryError.h"

#include <QtTest>

class TestColumnNames : public QObject
{
    Q_OBJECT
private slots:
    void indexOf_data();
    void indexOf();
    void requireNamesWhatIsMissing();
};

void TestColumnNames::indexOf_data()
{
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<int>("found"); // -1: none

    const QStringList dreams = { "Key", "Link", "Names" };
    QTest::newRow("asStored") << dreams << "Link" << 1;
    QTest::newRow("askedInCapitals") << dreams << "NAMES" << 2;
    QTest::newRow("askedInLowerCase") << dreams << "key" << 0;
    QTest::newRow("storedInCapitals") << QStringList { "KEY", "LINK" } << "Link" << 1;
    QTest::newRow("mixedCase") << QStringList { "kEy" } << "Key" << 0;
    // A join may hold a name twice, or in two spellings.
    QTest::newRow("firstOfTwoAlike") << QStringList { "Key", "Link", "Key" } << "Key" << 0;
    QTest::newRow("asStoredBeforeAnyCase") << QStringList { "key", "Key" } << "Key" << 1;
    QTest::newRow("firstInAnyCase") << QStringList { "key", "Key" } << "KEY" << 0;
    // SQLite folds ASCII letters only.
    QTest::newRow("otherLettersKeepTheirCase") << QStringList { "Ärger" } << "äRGER" << -1;
    QTest::newRow("otherLettersAsStored") << QStringList { "Ärger" } << "ÄRGER" << 0;
    QTest::newRow("noSuchColumn") << dreams << "Keys" << -1;
    QTest::newRow("noColumns") << QStringList() << "Key" << -1;
    QTest::newRow("emptyName") << dreams << "" << -1;
}

void TestColumnNames::indexOf()
{
    QFETCH(QStringList, columns);
    QFETCH(QString, asked);
    QFETCH(int, found);

    const ColumnNames names(columns);
    QCOMPARE(names.names(), columns);
    QCOMPARE(names.size(), int(columns.size()));
    QCOMPARE(names.indexOf(asked), found);

    // Built a name at a time, as a statement's columns are read.
    ColumnNames appended;
    for (const QString &column : columns)
        appended.append(column);
    QCOMPARE(appended.indexOf(asked), found);
}

void TestColumnNames::requireNamesWhatIsMissing()
{
    const ColumnNames names({ "Key", "Link" });
    QCOMPARE(names.require("LINK", "dreams", "/data/dream.dll"), 1);
    try {
        names.require("Names", "dreams", "/data/dream.dll");
        QFAIL("a missing column must fail");
    } catch (const DictionaryError &e) {
        QCOMPARE(e.message(), QString("The table dreams in /data/dream.dll has no column Names."));
    }
}

QTEST_GUILESS_MAIN(TestColumnNames)
#include "tst_columnnames.moc"
