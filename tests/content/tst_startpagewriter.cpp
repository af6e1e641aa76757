#include "StartPage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

Symbol symbol(const QString &key, const QString &meaning = QStringLiteral("A meaning."))
{
    Symbol s;
    s.key = key;
    s.meaning = meaning;
    return s;
}

// The sections of a made index page: heading text -> the keywords listed under it.
QMap<QString, QStringList> sections(const QString &html)
{
    QMap<QString, QStringList> found;
    static const QRegularExpression section(
        QStringLiteral("<h3 id=\"[^\"]+\">([^<]+)</h3>\\s*<ul class=\"symbols\">(.*?)</ul>"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression item(
        QStringLiteral("<li><a href=\"([^\"]+)\">([^<]*)</a></li>"));
    for (const auto &m : section.globalMatch(html)) {
        QStringList keys;
        for (const auto &i : item.globalMatch(m.captured(2)))
            keys << i.captured(2);
        found.insert(m.captured(1), keys);
    }
    return found;
}

bool writeFile(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

} // namespace

class TestStartPageWriter : public QObject
{
    Q_OBJECT
private slots:
    void words_data();
    void words();
    void lead_data();
    void lead();
    void indexGroupsByLetter();
    void indexEscapesKeys();
    void searchIndexCarriesEveryText();
    void refusesASymbolThatWouldReplaceOurPage_data();
    void refusesASymbolThatWouldReplaceOurPage();
};

void TestStartPageWriter::words_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("words");
    QTest::newRow("punctuation between") << "Water, water!"
                                         << "water water";
    QTest::newRow("case") << "Deep WATER"
                          << "deep water";
    QTest::newRow("apostrophe splits") << "others' needs, a waiter's tray"
                                       << "others needs a waiter s tray";
    QTest::newRow("hyphen splits") << "sea-horse"
                                   << "sea horse";
    QTest::newRow("digits are words") << "24 hours, 3rd"
                                      << "24 hours 3rd";
    QTest::newRow("letters beyond ASCII") << "Caf\u00e9 \u00c9T\u00c9"
                                          << "caf\u00e9 \u00e9t\u00e9";
    QTest::newRow("edges and runs of spaces") << "  (a)   b  "
                                              << "a b";
    QTest::newRow("nothing but punctuation") << " -- ... "
                                             << "";
}

void TestStartPageWriter::words()
{
    QFETCH(QString, text);
    QFETCH(QString, words);
    QCOMPARE(StartPage::words(text), words);
}

void TestStartPageWriter::lead_data()
{
    QTest::addColumn<QString>("meaning");
    QTest::addColumn<QString>("lead");
    QTest::newRow("first of several") << "One thing. Another thing."
                                      << "One thing.";
    QTest::newRow("question") << "Lost? Then look. More."
                              << "Lost?";
    QTest::newRow("one sentence") << "Only this one."
                                  << "Only this one.";
    QTest::newRow("no full stop") << "No stop at all"
                                  << "No stop at all";
    QTest::newRow("dot inside a word") << "See 3.5 metres of rope. Then."
                                       << "See 3.5 metres of rope.";
}

void TestStartPageWriter::lead()
{
    QFETCH(QString, meaning);
    QFETCH(QString, lead);
    QCOMPARE(StartPage::lead(meaning), lead);
}

void TestStartPageWriter::indexGroupsByLetter()
{
    const std::vector<Symbol> symbols
        = { symbol("3 a.m."), symbol("apple"), symbol("Anchor"), symbol("Bear"), symbol("Zoo") };
    const QString html = StartPage::indexPage("{{COUNT}}|{{LETTERS}}|{{INDEX}}", symbols);
    QVERIFY(html.startsWith("5|"));

    const auto found = sections(html);
    QCOMPARE(found.keys(), QStringList({ "A", "B", "Other", "Z" }));
    QCOMPARE(found.value("A"), QStringList({ "apple", "Anchor" })); // in the order given
    QCOMPARE(found.value("Other"), QStringList({ "3 a.m." }));
    QVERIFY(html.contains("<a href=\"3-a-m.html\">3 a.m.</a>"));

    // Every letter shows, but only letters with symbols lead somewhere.
    const QString letters = html.section('|', 1, 1);
    static const QRegularExpression jump(QStringLiteral("<a href=\"#([^\"]+)\">([^<]+)</a>"));
    QStringList linked;
    for (const auto &m : jump.globalMatch(letters)) {
        linked << m.captured(2);
        QVERIFY2(html.contains(QStringLiteral("<h3 id=\"%1\">").arg(m.captured(1))),
            qPrintable(m.captured(1)));
    }
    QCOMPARE(linked, QStringList({ "A", "B", "Z", "#" }));
    QCOMPARE(letters.count("class=\"empty\""), 23);
}

void TestStartPageWriter::indexEscapesKeys()
{
    const QString html = StartPage::indexPage("{{INDEX}}", { symbol("<b>Fish</b> & \"chips\"") });
    QVERIFY2(
        html.contains(">&lt;b&gt;Fish&lt;/b&gt; &amp; &quot;chips&quot;</a>"), qPrintable(html));
    QVERIFY(!html.contains("<b>"));
}

void TestStartPageWriter::searchIndexCarriesEveryText()
{
    Symbol s = symbol("Sea </script> \"horse\"", "First, the sea. Then \u2028 more.");
    s.variations.push_back({ "Riding one", "a calm SEASON ahead" });
    s.seeAlso << "Ocean";
    const QString script = StartPage::searchIndex({ s, symbol("Ocean") });

    // The page runs it as a script: one assignment of plain data.
    static const QRegularExpression assignment(
        QStringLiteral("^(?://[^\\n]*\\n)*self\\.somnilexSymbols = (.*);\\n$"),
        QRegularExpression::DotMatchesEverythingOption);
    const auto m = assignment.match(script);
    QVERIFY2(m.hasMatch(), qPrintable(script.left(200)));
    QJsonParseError error;
    const QJsonArray rows = QJsonDocument::fromJson(m.captured(1).toUtf8(), &error).array();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(rows.size(), 2);

    const QJsonArray row = rows.at(0).toArray();
    QCOMPARE(row.at(0).toString(), s.key);
    QCOMPARE(row.at(1).toString(), QString("sea-script-horse.html"));
    QCOMPARE(row.at(2).toString(), QString("sea script horse"));
    // The meaning and the variations, not the see-also names, which are other symbols.
    QCOMPARE(
        row.at(3).toString(), QString("first the sea then more riding one a calm season ahead"));
    QCOMPARE(row.at(4).toString(), QString("First, the sea."));
}

void TestStartPageWriter::refusesASymbolThatWouldReplaceOurPage_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("start page") << "Index" << 1;
    QTest::newRow("error page") << "Error" << 1;
    QTest::newRow("a name of its own") << "Errand" << 0;
}

void TestStartPageWriter::refusesASymbolThatWouldReplaceOurPage()
{
    QFETCH(QString, key);
    QFETCH(int, exitCode);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = dir.filePath("dictionary.txt");
    QVERIFY(writeFile(source, "## " + key.toUtf8() + "\nIts meaning.\n## Other\nMore meaning.\n"));
    QVERIFY(writeFile(dir.filePath("page.html"), "<title>{{KEY}}</title>"));
    QVERIFY(writeFile(dir.filePath("start.html"), "{{INDEX}}"));
    QVERIFY(writeFile(dir.filePath("error.html"), "<p>error</p>"));
    QVERIFY(writeFile(dir.filePath("page.css"), "p {}"));

    QProcess pages;
    pages.start(SOMNILEX_PAGES_TOOL,
        { dir.filePath("out"), dir.filePath("page.html"), dir.filePath("page.css"), "--start",
            dir.filePath("start.html"), "--assets", dir.filePath("error.html"), "--dictionary",
            source, "--update" });
    QVERIFY(pages.waitForFinished(60000));
    const QString err = QString::fromUtf8(pages.readAllStandardError());
    QCOMPARE(pages.exitCode(), exitCode);
    if (exitCode != 0)
        QVERIFY2(err.contains(key.toLower() + ".html"), qPrintable(err));
    else
        QVERIFY(QFile::exists(dir.filePath("out/dreams/errand.html")));
}

QTEST_GUILESS_MAIN(TestStartPageWriter)
#include "tst_startpagewriter.moc"
