#include "PageWriter.h"
#include "SymbolSource.h"

#include <QtTest>

class TestSymbolSource : public QObject
{
    Q_OBJECT
private slots:
    void parsesAnEntry();
    void refusesMalformedText_data();
    void refusesMalformedText();
    void validateFindsProblems_data();
    void validateFindsProblems();
    void slugs_data();
    void slugs();
    void pageEscapesEveryText();
};

void TestSymbolSource::parsesAnEntry()
{
    const auto symbols = SymbolSource::parse("## Teeth falling out\n"
                                             "First line of meaning\n"
                                             "  wrapped here.\n"
                                             "\n"
                                             "- Losing one tooth: a small worry: nothing more.\n"
                                             "- Gold teeth: value.\n"
                                             "\n"
                                             "See also: Mouth; Smile;\n"
                                             "\n"
                                             "## Mouth\nMeaning.\n",
        "t.txt");
    QCOMPARE(symbols.size(), size_t(2));
    const Symbol &s = symbols[0];
    QCOMPARE(s.key, QString("Teeth falling out"));
    QCOMPARE(s.meaning, QString("First line of meaning wrapped here."));
    QCOMPARE(s.variations.size(), size_t(2));
    QCOMPARE(s.variations[0].situation, QString("Losing one tooth"));
    QCOMPARE(s.variations[0].reading, QString("a small worry: nothing more."));
    QCOMPARE(s.seeAlso, QStringList({ "Mouth", "Smile" }));
    QCOMPARE(s.origin, QString("t.txt:1"));
    QCOMPARE(symbols[1].origin, QString("t.txt:10"));
}

void TestSymbolSource::refusesMalformedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("text before any entry") << "hello\n## A\nm\n"
                                           << "t.txt:1:";
    QTest::newRow("variation without reading") << "## A\nm\n\n- just words\n"
                                               << "t.txt:4:";
    QTest::newRow("meaning after variations") << "## A\nm\n- a: b\nmore meaning\n"
                                              << "t.txt:4:";
    QTest::newRow("empty keyword") << "##  \n"
                                   << "t.txt:1:";
}

void TestSymbolSource::refusesMalformedText()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    try {
        SymbolSource::parse(text, "t.txt");
        QFAIL("malformed text must be refused");
    } catch (const SymbolSource::Error &e) {
        QVERIFY2(QString(e.what()).startsWith(expected), e.what());
    }
}

void TestSymbolSource::validateFindsProblems_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("fine") << "## A\nm\nSee also: B\n## B\nm\n"
                          << "";
    QTest::newRow("key twice in other case") << "## Snake\nm\n## snake\nm\n"
                                             << "already at t.txt:1";
    QTest::newRow("same page name") << "## Sea-horse\nm\n## Sea horse\nm\n"
                                    << "has the page name";
    QTest::newRow("unknown see also") << "## A\nm\nSee also: Nowhere\n"
                                      << "\"Nowhere\", which has no entry";
    QTest::newRow("see also in other case") << "## A\nm\nSee also: b\n## B\nm\n"
                                            << "\"b\", which has no entry";
    QTest::newRow("no meaning") << "## A\n- a: b\n"
                                << "has no meaning";
}

void TestSymbolSource::validateFindsProblems()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const auto symbols = SymbolSource::parse(text, "t.txt");
    QString problems;
    try {
        SymbolSource::validate(symbols, symbols);
    } catch (const SymbolSource::Error &e) {
        problems = e.what();
    }
    if (expected.isEmpty())
        QCOMPARE(problems, QString());
    else
        QVERIFY2(problems.contains(expected), qPrintable(problems));
}

void TestSymbolSource::slugs_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("slug");
    QTest::newRow("one word") << "Snake"
                              << "snake";
    QTest::newRow("words") << "Teeth falling out"
                           << "teeth-falling-out";
    QTest::newRow("punctuation runs") << "Being chased (by a bear)!"
                                      << "being-chased-by-a-bear";
    QTest::newRow("apostrophe") << "Friend's wedding"
                                << "friend-s-wedding";
    QTest::newRow("digits") << "Number 13"
                            << "number-13";
}

void TestSymbolSource::slugs()
{
    QFETCH(QString, key);
    QFETCH(QString, slug);
    QCOMPARE(SymbolSource::slug(key), slug);
}

void TestSymbolSource::pageEscapesEveryText()
{
    Symbol s;
    s.key = "Fish & <chips>";
    s.meaning = "A \"meaning\" with <b>tags</b>";
    s.variations.push_back({ "x < y", "a & b" });
    s.seeAlso << "Sea & sand";
    const QString html
        = PageWriter::page("<title>{{KEY}}</title>{{MEANING}}|{{VARIATIONS}}|{{SEEALSO}}", s);
    QVERIFY(html.startsWith("<title>Fish &amp; &lt;chips&gt;</title>"));
    QVERIFY(html.contains("A &quot;meaning&quot; with &lt;b&gt;tags&lt;/b&gt;"));
    QVERIFY(html.contains("<dt>x &lt; y</dt><dd>a &amp; b</dd>"));
    QVERIFY(html.contains("<a href=\"sea-sand.html\">Sea &amp; sand</a>"));
    QCOMPARE(PageWriter::link(s), QString("qrc:/dreams/fish-chips.html"));
}

QTEST_GUILESS_MAIN(TestSymbolSource)
#include "tst_symbolsource.moc"
