#include "LoweredColumn.h"

#include <QtTest>

#include <vector>

namespace {

// What a walk over every row answers, lowering each value with QString::toLower.
std::vector<qint64> scan(const QStringList &values, const QString &term, bool containing)
{
    std::vector<qint64> rows;
    for (qint64 row = 0; row < values.size(); ++row) {
        const QString lower = values[row].toLower();
        if (containing ? !lower.isEmpty() && (term.isEmpty() || lower.contains(term))
                       : term.isEmpty() || lower.startsWith(term))
            rows.push_back(row);
    }
    return rows;
}

qint64 scanFirst(const QStringList &values, const QString &term)
{
    for (qint64 row = 0; row < values.size(); ++row) {
        if (values[row].toLower() == term)
            return row;
    }
    return -1;
}

// Long enough that the search runs over full blocks of the buffer, not only its tail.
QStringList padded(const QStringList &values)
{
    QStringList many;
    for (int copy = 0; copy < 40; ++copy) {
        for (const QString &value : values)
            many << value + QStringLiteral("-Filler Text %1").arg(copy);
        many << values;
    }
    return many;
}

} // namespace

class TestLoweredColumn : public QObject
{
    Q_OBJECT
private slots:
    void answersAsAWalkDoes_data();
    void answersAsAWalkDoes();
    void appendedRowsAreFound();
};

void TestLoweredColumn::answersAsAWalkDoes_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("term");

    const QStringList animals = { "Snake", "snail", "SNAKE", "Sn", "ant", "Antelope", "", "snake" };
    QTest::newRow("emptyTerm") << animals << QString();
    QTest::newRow("samePrefix") << animals << "sn";
    QTest::newRow("duplicatesInAnyCase") << animals << "snake";
    QTest::newRow("termLongerThanEveryKey") << animals << "snakes and ladders";
    QTest::newRow("termIsAWholeKey") << animals << "sn";
    QTest::newRow("noKeyHasIt") << animals << "zebra";
    QTest::newRow("lastLetterOfTheLastKey") << animals << "e";
    // Keys lie back to back: "ab" then "cd" hold "bc" only across the two.
    QTest::newRow("acrossTwoKeys") << QStringList { "ab", "cd", "abcd" } << "bc";
    QTest::newRow("emptyKeysBetween") << QStringList { "", "x", "", "", "xx", "" } << "x";
    QTest::newRow("dottedCapitalI")
        << QStringList { "İstanbul", "istanbul", "Ist" } << QString("İst").toLower();
    QTest::newRow("umlautsAndSharpS")
        << QStringList { "Ärger", "Straße", "STRASSE", "ärmel" } << "är";
    QTest::newRow("sharpS") << QStringList { "Ärger", "Straße", "STRASSE" } << "ß";
    QTest::newRow("greekSigma") << QStringList { "ΣΟΦΊΑ", "σοφία", "Οδός" } << "σοφ";
    QTest::newRow("surrogatePair") << QStringList { "a😀b", "😀", "b" } << "😀";
    QTest::newRow("loneHighSurrogate")
        << QStringList { "a😀b", "😀", "b" } << QString(QChar(QChar::highSurrogate(0x1F600)));
    QTest::newRow("highUnits") << QStringList { QString(QChar(0xFFFF)), "x\uffffy", "y" }
                               << QString(QChar(0xFFFF));
    QTest::newRow("nullCharacter")
        << QStringList { QString("a") + QChar(0) + "b", "ab" } << QString(QChar(0));
    QTest::newRow("manyRows") << padded(animals) << "sna";
    QTest::newRow("manyRowsInner") << padded(animals) << "ller text 3";
    QTest::newRow("manyRowsOneUnit") << padded(animals) << "t";
    QTest::newRow("manyRowsAcrossKeys") << padded({ "ab", "cd" }) << "bc";
}

void TestLoweredColumn::answersAsAWalkDoes()
{
    QFETCH(QStringList, values);
    QFETCH(QString, term);
    const LoweredColumn column(values);

    QCOMPARE(column.rowCount(), qint64(values.size()));
    for (qint64 row = 0; row < values.size(); ++row)
        QCOMPARE(column.at(row).toString(), values[row].toLower());
    QCOMPARE(column.rowsBeginningWith(term), scan(values, term, false));
    QCOMPARE(column.rowsContaining(term), scan(values, term, true));
    QCOMPARE(column.firstRowOf(term), scanFirst(values, term));
    // Each value as a term: its first row, which for a repeated value is not its own.
    for (const QString &value : values) {
        QCOMPARE(column.firstRowOf(value.toLower()), scanFirst(values, value.toLower()));
        QCOMPARE(column.rowsBeginningWith(value.toLower()), scan(values, value.toLower(), false));
    }
}

void TestLoweredColumn::appendedRowsAreFound()
{
    QStringList values = { "Snake", "ant", "snail" };
    LoweredColumn column(values);
    for (const QString added : { "SNAKE", "Ant", "", "sn", "Zebra", "snake" }) {
        column.append(added);
        values << added;
        for (const QString term : { "", "sn", "snake", "ant", "a", "zebra" }) {
            QCOMPARE(column.rowsBeginningWith(term), scan(values, term, false));
            QCOMPARE(column.rowsContaining(term), scan(values, term, true));
            QCOMPARE(column.firstRowOf(term), scanFirst(values, term));
        }
    }
}

QTEST_GUILESS_MAIN(TestLoweredColumn)
#include "tst_loweredcolumn.moc"
