// The start page's search over the meanings, driven as a user searches, checked against the
// dictionary's source text read by the test itself.
#include "StartPageTest.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace {

QRegularExpression wholeWord(const QString &word)
{
    return QRegularExpression(
        "(?<![\\p{L}\\p{N}])" + QRegularExpression::escape(word) + "(?![\\p{L}\\p{N}])",
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
}

QStringList wordsOf(const QString &term)
{
    static const QRegularExpression between(
        QStringLiteral("[^\\p{L}\\p{N}]+"), QRegularExpression::UseUnicodePropertiesOption);
    return term.split(between, Qt::SkipEmptyParts);
}

// How a symbol should fare for a term: found when its keyword or text holds every word.
struct Expected
{
    bool found = true;
    bool inKey = true;
    int count = 0;
};

Expected expectedFor(const SourceSymbol &s, const QStringList &words)
{
    Expected e;
    for (const QString &word : words) {
        const QRegularExpression re = wholeWord(word);
        const bool named = re.match(s.key).hasMatch();
        int hits = 0;
        for (auto it = re.globalMatch(s.text); it.hasNext(); it.next())
            ++hits;
        e.found = e.found && (named || hits > 0);
        e.inKey = e.inKey && named;
        e.count += hits;
    }
    return e;
}

// What a search for a term should list, and how many symbols hold only the longer word.
struct Expectation
{
    QHash<QString, Expected> bySymbol;
    int longerOnly = 0;
};

Expectation expectationFor(
    const QList<SourceSymbol> &sources, const QStringList &words, const QString &longerWord)
{
    Expectation expectation;
    for (const SourceSymbol &s : sources) {
        const Expected e = expectedFor(s, words);
        if (e.found)
            expectation.bySymbol.insert(s.key, e);
        else if (!longerWord.isEmpty()
            && wholeWord(longerWord).match(s.key + ' ' + s.text).hasMatch())
            ++expectation.longerOnly;
    }
    return expectation;
}

} // namespace

class TestStartPageSearch : public QObject, private StartPageFixture
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void initTestCase()
    {
        showView();
        readSymbols();
    }
    void init() { open(StartPage); }
    void meaningSearch_data();
    void meaningSearch();
    void meaningSearchWithoutWords_data();
    void meaningSearchWithoutWords();
    void searchFieldIsLabelledAndAnnounced();

private:
    QString search(const QString &term);
    void listTheRest(qsizetype shown);
    void checkResults(const QList<QStringList> &results, const QHash<QString, Expected> &expected);
};

void TestStartPageSearch::meaningSearch_data()
{
    QTest::addColumn<QString>("term");
    // A longer word that begins with the term: a symbol that has it but not the term itself
    // must be left out. Empty when the row is about something else.
    QTest::addColumn<QString>("longerWord");
    QTest::newRow("water") << "water"
                           << "waterfall";
    QTest::newRow("prefix of another word") << "sea"
                                            << "season";
    QTest::newRow("letter case") << "WaTeR"
                                 << "";
    QTest::newRow("spaces and punctuation around") << "  water?! "
                                                   << "";
    QTest::newRow("word in keywords too") << "snake"
                                          << "snakes";
    QTest::newRow("two words, both needed") << "deep water"
                                            << "";
    QTest::newRow("a word in nearly every meaning") << "you"
                                                    << "young";
    QTest::newRow("in no meaning") << "xylophonist"
                                   << "";
    // Words every plain object of the script answers to, and which no meaning holds.
    QTest::newRow("a word objects inherit") << "constructor"
                                            << "";
    QTest::newRow("a word objects inherit, after a common word") << "water constructor"
                                                                 << "";
}

void TestStartPageSearch::meaningSearch()
{
    QFETCH(QString, term);
    QFETCH(QString, longerWord);
    const Expectation expectation = expectationFor(m_sources, wordsOf(term), longerWord);
    const QHash<QString, Expected> &expected = expectation.bySymbol;
    if (!longerWord.isEmpty())
        QVERIFY2(expectation.longerOnly > 0,
            qPrintable("no symbol tells " + term + " from " + longerWord));

    const QString status = search(term);
    // A long list comes in two steps: the best at once, the rest when the user asks.
    const QList<QStringList> first = links(m_view, "#find-results a");
    const bool more = WebWait::evaluate(m_view.page(),
        "document.getElementById('find-more')"
        ".getClientRects().length > 0")
                          .toBool();
    QCOMPARE(more, first.size() < expected.size());
    if (more) {
        listTheRest(first.size());
        if (QTest::currentTestFailed())
            return;
    }
    const QList<QStringList> results = links(m_view, "#find-results a");
    QCOMPARE(results.mid(0, first.size()), first);
    checkResults(results, expected);
    if (QTest::currentTestFailed())
        return;

    QVERIFY(!status.isEmpty());
    if (expected.isEmpty())
        QVERIFY2(status.startsWith("No symbol mentions"), qPrintable(status));
    if (expected.size() > 1)
        QVERIFY2(status.contains(QString::number(expected.size())), qPrintable(status));
}

// As a user searches: the field, then Enter (the form's submission). Gives the status told.
QString TestStartPageSearch::search(const QString &term)
{
    WebWait::evaluate(m_view.page(),
        QStringLiteral("var f = document.getElementById('find-term'); f.value = %1;"
                       "f.form.requestSubmit(); true")
            .arg(json(term)));
    return WebWait::evaluate(m_view.page(), "document.getElementById('find-status').textContent")
        .toString();
}

// Clicks the button that lists the rest of the results, shown of them being listed.
void TestStartPageSearch::listTheRest(qsizetype shown)
{
    const QVariantMap button = WebWait::evaluate(m_view.page(),
        "var b = document.getElementById('find-more');"
        "b.scrollIntoView({block: 'center'}); var r = b.getBoundingClientRect();"
        "({x: r.left + r.width / 2, y: r.top + r.height / 2})")
                                   .toMap();
    QTest::mouseClick(m_view.focusProxy(), Qt::LeftButton, {},
        QPoint(button.value("x").toInt(), button.value("y").toInt()));
    QVERIFY(WebWait::until([&] {
        return WebWait::evaluate(
                   m_view.page(), "document.querySelectorAll('#find-results a').length")
                   .toInt()
            > shown;
    }));
    // The button is gone; the keyboard goes on at the first result it brought.
    QCOMPARE(WebWait::evaluate(m_view.page(),
                 "Array.from(document.querySelectorAll('#find-results a'))"
                 ".indexOf(document.activeElement)")
                 .toInt(),
        shown);
}

// Every expected symbol listed once, each link to a page of its own, the best first.
void TestStartPageSearch::checkResults(
    const QList<QStringList> &results, const QHash<QString, Expected> &expected)
{
    QSet<QString> listed;
    for (const QStringList &result : results) {
        QVERIFY2(expected.contains(result[0]), qPrintable("not expected: " + result[0]));
        QVERIFY2(!listed.contains(result[0]), qPrintable("listed twice: " + result[0]));
        listed.insert(result[0]);
        QVERIFY2(QFile::exists(resourceOf(result[1])), qPrintable(result[1]));
    }
    QCOMPARE(listed.size(), expected.size());

    // Best first: named after the term, then by the number of mentions.
    for (qsizetype i = 1; i < results.size(); ++i) {
        const Expected a = expected.value(results[i - 1][0]);
        const Expected b = expected.value(results[i][0]);
        QVERIFY2(a.inKey >= b.inKey && (a.inKey != b.inKey || a.count >= b.count),
            qPrintable(results[i - 1][0] + " before " + results[i][0]));
    }
}

void TestStartPageSearch::meaningSearchWithoutWords_data()
{
    QTest::addColumn<QString>("term");
    QTest::addColumn<bool>("told");
    QTest::newRow("empty") << "" << false;
    QTest::newRow("spaces") << "   " << false;
    QTest::newRow("punctuation only") << "?!*" << true;
}

void TestStartPageSearch::meaningSearchWithoutWords()
{
    QFETCH(QString, term);
    QFETCH(bool, told);
    WebWait::evaluate(m_view.page(),
        QStringLiteral("var f = document.getElementById('find-term'); f.value = 'water';"
                       "f.form.requestSubmit(); f.value = %1; f.form.requestSubmit(); true")
            .arg(json(term)));
    QVERIFY(links(m_view, "#find-results a").isEmpty());
    const QString status
        = WebWait::evaluate(m_view.page(), "document.getElementById('find-status').textContent")
              .toString();
    QCOMPARE(!status.isEmpty(), told);
}

void TestStartPageSearch::searchFieldIsLabelledAndAnnounced()
{
    const QVariantMap found = WebWait::evaluate(m_view.page(),
        "var f = document.getElementById('find-term');"
        "var s = document.getElementById('find-status');"
        "({label: f.labels.length ? f.labels[0].textContent : '',"
        "  shown: !f.form.hidden && f.getClientRects().length > 0,"
        "  live: s.getAttribute('aria-live'), role: s.getAttribute('role'),"
        "  search: f.form.getAttribute('role'),"
        "  headings: Array.from(document.querySelectorAll('h1, h2')).map(function (h) {"
        "      return h.tagName; })})")
                                  .toMap();
    QVERIFY(!found.value("label").toString().trimmed().isEmpty());
    QVERIFY(found.value("shown").toBool());
    QCOMPARE(found.value("live").toString(), QString("polite"));
    QCOMPARE(found.value("role").toString(), QString("status"));
    QCOMPARE(found.value("search").toString(), QString("search"));
    const QStringList headings = found.value("headings").toStringList();
    QCOMPARE(headings.count("H1"), 1);
    QVERIFY(headings.count("H2") >= 4);
}

QTEST_MAIN(TestStartPageSearch)
#include "tst_startpagesearch.moc"
