#include "DictionaryCache.h"
#include "DictionaryError.h"
#include "DreamFile.h"
#include "SnapshotDreamRows.h"
#include "TestDictionary.h"

#include <QtTest>

namespace {

enum class Spoilt { Missing, Garbled, NoKey, NoLink };

// Asks rows for one thing, by name.
void ask(DreamRows &rows, const QString &what)
{
    if (what == "count")
        rows.count();
    else if (what == "key")
        rows.key(0);
    else if (what == "lowerKey")
        rows.lowerKey(0);
    else if (what == "link")
        rows.link(0);
    else if (what == "search")
        rows.rowsContaining(QStringLiteral("a"));
    else
        rows.keys();
}

} // namespace

Q_DECLARE_METATYPE(Spoilt)

class TestDreamRows : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void readsEveryRowInTableOrder();
    void movesToAnyRow();
    void emptyTable();
    void searchesAnswerAsAWalkDoes_data();
    void searchesAnswerAsAWalkDoes();
    void opensTheFileWhenFirstAsked();
    void laterViewsSeeAppendedRows();
    void failures_data();
    void failures();

private:
    std::unique_ptr<TestFolder> m_folder;
    DictionaryCache m_cache;
    QString m_path;
};

void TestDreamRows::init()
{
    m_folder = std::make_unique<TestFolder>();
    m_path = m_folder->dictionary();
}

void TestDreamRows::readsEveryRowInTableOrder()
{
    DreamFile::write(m_path);
    const std::unique_ptr<DreamRows> rows = dreamRowsAt(m_cache, m_path);
    const std::vector<DreamTable::Row> table = DreamTable::rows();
    QCOMPARE(rows->count(), qint64(table.size()));
    for (size_t row = 0; row < table.size(); ++row) {
        QCOMPARE(rows->key(qint64(row)), table[row].key);
        QCOMPARE(rows->lowerKey(qint64(row)), table[row].key.toLower());
        QCOMPARE(rows->link(qint64(row)), table[row].link);
    }
    QCOMPARE(rows->keys(), DreamTable::fullList());
}

// The decisions walk forward, but a view serves any order.
void TestDreamRows::movesToAnyRow()
{
    DreamFile::write(m_path);
    const std::unique_ptr<DreamRows> rows = dreamRowsAt(m_cache, m_path);
    const std::vector<DreamTable::Row> table = DreamTable::rows();
    for (const qint64 row : { 5, 2, 13, 0, 13, 7, 6 }) {
        QCOMPARE(rows->link(row), table[size_t(row)].link);
        QCOMPARE(rows->key(row), table[size_t(row)].key);
    }
}

void TestDreamRows::emptyTable()
{
    DreamFile::write(m_path, {});
    const std::unique_ptr<DreamRows> rows = dreamRowsAt(m_cache, m_path);
    QCOMPARE(rows->count(), qint64(0));
    QCOMPARE(rows->keys(), QStringList());
}

void TestDreamRows::searchesAnswerAsAWalkDoes_data()
{
    QTest::addColumn<QString>("term");
    const QString dottedI = QString(QChar(0x130));
    for (const QString &term :
        { QString(), QStringLiteral("snake"), QStringLiteral("cat"), QStringLiteral(" "),
            QStringLiteral("snake "), QStringLiteral("e"), QStringLiteral("échelle"),
            (dottedI + QStringLiteral("st")).toLower(), QStringLiteral("zebra") })
        QTest::newRow(qPrintable(term.isEmpty() ? QStringLiteral("empty") : "'" + term + "'"))
            << term;
}

// The file's view answers from an index; the plain walk every view may use is the measure.
void TestDreamRows::searchesAnswerAsAWalkDoes()
{
    QFETCH(QString, term);
    DreamFile::write(m_path);
    const std::unique_ptr<DreamRows> rows = dreamRowsAt(m_cache, m_path);
    QCOMPARE(rows->rowsBeginningWith(term), rows->DreamRows::rowsBeginningWith(term));
    QCOMPARE(rows->rowsContaining(term), rows->DreamRows::rowsContaining(term));
    QCOMPARE(rows->firstRowOf(term), rows->DreamRows::firstRowOf(term));
    const std::vector<qint64> found = rows->rowsContaining(term);
    QCOMPARE(rows->keysOf(found), rows->DreamRows::keysOf(found));
}

// A view made before the file exists reads it once it does: nothing is opened on the way.
void TestDreamRows::opensTheFileWhenFirstAsked()
{
    const std::unique_ptr<DreamRows> rows = dreamRowsAt(m_cache, m_path);
    DreamFile::write(m_path);
    QCOMPARE(rows->count(), qint64(DreamTable::rows().size()));
}

// Views share the rows, and the lowered Keys, that the cache holds; a row appended since is in
// the next view's list and searches all the same.
void TestDreamRows::laterViewsSeeAppendedRows()
{
    DreamFile::write(m_path);
    const std::unique_ptr<DreamRows> before = dreamRowsAt(m_cache, m_path);
    QCOMPARE(before->rowsBeginningWith(QStringLiteral("owl")), std::vector<qint64>());

    const modDB::RecordsetPtr rs = modDB::openDreams(m_cache, m_path);
    rs->AddNew();
    rs->setField(QStringLiteral("Key"), QStringLiteral("Owl"));
    rs->setField(QStringLiteral("Link"), DreamTable::link("owl"));
    rs->Update();

    const std::unique_ptr<DreamRows> after = dreamRowsAt(m_cache, m_path);
    const qint64 owl = qint64(DreamTable::rows().size());
    QCOMPARE(after->count(), owl + 1);
    QCOMPARE(after->rowsBeginningWith(QStringLiteral("owl")), std::vector<qint64>({ owl }));
    QCOMPARE(after->link(after->firstRowOf(QStringLiteral("owl"))), DreamTable::link("owl"));
    QCOMPARE(after->keys().last(), QStringLiteral("Owl"));
}

void TestDreamRows::failures_data()
{
    QTest::addColumn<Spoilt>("spoilt");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("column"); // the column named in the failure; empty: no failure

    QTest::newRow("missingFile") << Spoilt::Missing << "count"
                                 << "-";
    QTest::newRow("garbledFile") << Spoilt::Garbled << "count"
                                 << "-";
    QTest::newRow("missingFileKeys") << Spoilt::Missing << "keys"
                                     << "-";
    QTest::newRow("noKeyCounts") << Spoilt::NoKey << "count"
                                 << "";
    QTest::newRow("noKeyKey") << Spoilt::NoKey << "key"
                              << "Key";
    QTest::newRow("noKeyLowerKey") << Spoilt::NoKey << "lowerKey"
                                   << "Key";
    QTest::newRow("noKeyKeys") << Spoilt::NoKey << "keys"
                               << "Key";
    QTest::newRow("noKeyLinks") << Spoilt::NoKey << "link"
                                << "";
    QTest::newRow("noLinkLink") << Spoilt::NoLink << "link"
                                << "Link";
    QTest::newRow("noLinkKeys") << Spoilt::NoLink << "keys"
                                << "";
    QTest::newRow("noLinkLowerKey") << Spoilt::NoLink << "lowerKey"
                                    << "";
    QTest::newRow("noKeySearch") << Spoilt::NoKey << "search"
                                 << "Key";
    QTest::newRow("noLinkSearch") << Spoilt::NoLink << "search"
                                  << "";
}

// A failure names the file, and the column when one is missing ("-": none to name).
void TestDreamRows::failures()
{
    QFETCH(Spoilt, spoilt);
    QFETCH(QString, asked);
    QFETCH(QString, column);

    if (spoilt == Spoilt::Garbled) {
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    } else if (spoilt != Spoilt::Missing) {
        DreamFile::writeWithout(m_path, spoilt == Spoilt::NoKey ? "Key" : "Link");
    }
    const std::unique_ptr<DreamRows> rows = dreamRowsAt(m_cache, m_path);
    QString failure;
    try {
        ask(*rows, asked);
    } catch (const DictionaryError &e) {
        failure = e.message();
    }

    QCOMPARE(failure.isEmpty(), column.isEmpty());
    if (failure.isEmpty())
        return;
    QVERIFY2(failure.contains(m_path), qPrintable(failure));
    if (column != "-")
        QVERIFY2(failure.remove(m_path).contains(column), qPrintable(failure));
}

QTEST_GUILESS_MAIN(TestDreamRows)
#include "tst_dreamrows.moc"
