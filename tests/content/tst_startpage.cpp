// The start page as the meaning pane shows it: loaded from the bundled resources into the real
// web engine, its own script driven as a user would drive it.
#include "DictionaryFile.h"
#include "WebProfile.h"
#include "WebView.h"
#include "WebWait.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>
#include <QtTest>

namespace {

const QString StartPage = QStringLiteral("qrc:/dreams/index.html");

// One symbol of the dictionary's source text, read here on its own terms rather than through
// the build's reader: the keyword, and the meaning with its variations as one text.
struct SourceSymbol
{
    QString key;
    QString text;
};

QList<SourceSymbol> sourceSymbols()
{
    QList<SourceSymbol> symbols;
    const QDir dir(QStringLiteral(SOMNILEX_SYMBOLS_DIR));
    for (const QString &name : dir.entryList({ "*.txt" }, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        for (const QString &raw : QString::fromUtf8(file.readAll()).split('\n')) {
            const QString line = raw.trimmed();
            if (line.startsWith("## "))
                symbols.append({ line.mid(3).trimmed(), QString() });
            else if (!line.isEmpty() && !line.startsWith("See also:") && !symbols.isEmpty())
                symbols.last().text += ' ' + (line.startsWith("- ") ? line.mid(2) : line);
        }
    }
    return symbols;
}

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

QString json(const QString &value)
{
    const QString array
        = QString::fromUtf8(QJsonDocument(QJsonArray { value }).toJson(QJsonDocument::Compact));
    return array.mid(1, array.size() - 2);
}

// [text, href] of every element that selector finds.
QList<QStringList> links(WebView &view, const QString &selector)
{
    const QVariant found = WebWait::evaluate(view.page(),
        QStringLiteral("Array.from(document.querySelectorAll(%1))"
                       ".map(function (a) { return [a.textContent, a.href]; })")
            .arg(json(selector)));
    QList<QStringList> result;
    for (const QVariant &pair : found.toList())
        result << pair.toStringList();
    return result;
}

// Every address the engine asks for while a page loads.
class RequestRecorder : public QWebEngineUrlRequestInterceptor
{
public:
    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        requested << info.requestUrl().toString();
    }
    QStringList requested;
};

std::vector<DictionaryRow> shippedRows()
{
    return DictionaryFile::read(qEnvironmentVariable("SOMNILEX_BUILD_DIR") + "/dream.dll");
}

QString resourceOf(const QString &link)
{
    return QString(link).replace(QLatin1String("qrc:"), QLatin1String(":"));
}

} // namespace

class TestStartPage : public QObject
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void initTestCase();
    void init();
    void indexListsEverySymbolOnce();
    void lettersJumpToTheirSymbols();
    void indexLinkOpensTheSymbol();
    void meaningSearch_data();
    void meaningSearch();
    void meaningSearchWithoutWords_data();
    void meaningSearchWithoutWords();
    void searchFieldIsLabelledAndAnnounced();
    void symbolOfTheDayIsStableForADate_data();
    void symbolOfTheDayIsStableForADate();
    void symbolOfTheDayVisitsEverySymbol();
    void loadsNothingFromOutside_data();
    void loadsNothingFromOutside();
    void contrast_data();
    void contrast();

private:
    void open(const QString &address);

    WebProfile m_profile;
    WebView m_view { m_profile };
    std::vector<DictionaryRow> m_rows;
    QList<SourceSymbol> m_sources;
};

void TestStartPage::initTestCase()
{
    m_rows = shippedRows();
    m_sources = sourceSymbols();
    QVERIFY(m_rows.size() > 1000);
    QCOMPARE(qsizetype(m_rows.size()), m_sources.size());
    m_view.resize(900, 700);
    m_view.show();
}

void TestStartPage::init()
{
    open(StartPage);
}

void TestStartPage::open(const QString &address)
{
    QCOMPARE(WebWait::navigate(m_view, address), address);
}

void TestStartPage::indexListsEverySymbolOnce()
{
    QHash<QString, QString> hrefByKey;
    for (const QStringList &link : links(m_view, ".index .symbols a")) {
        QVERIFY2(!hrefByKey.contains(link[0]), qPrintable("listed twice: " + link[0]));
        hrefByKey.insert(link[0], link[1]);
    }
    QCOMPARE(hrefByKey.size(), qsizetype(m_rows.size()));
    for (const DictionaryRow &row : m_rows) {
        QVERIFY2(hrefByKey.contains(row.key), qPrintable("missing: " + row.key));
        QCOMPARE(hrefByKey.value(row.key), row.link);
        QFile page(resourceOf(row.link));
        QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(row.link));
        QVERIFY2(QString::fromUtf8(page.readAll())
                     .contains("<title>" + row.key.toHtmlEscaped() + "</title>"),
            qPrintable(row.link));
    }
}

void TestStartPage::lettersJumpToTheirSymbols()
{
    // Each jump link with the keywords of the section it leads to.
    const QVariantList jumps = WebWait::evaluate(m_view.page(),
        "Array.from(document.querySelectorAll('#letters a')).map(function (a) {"
        "  var target = document.getElementById(a.hash.slice(1));"
        "  var section = target && target.closest('section');"
        "  return [a.textContent, section ? Array.from(section.querySelectorAll('.symbols a'))"
        "      .map(function (s) { return s.textContent; }) : null];"
        "})")
                                   .toList();
    QVERIFY(!jumps.isEmpty());
    QSet<QString> reached;
    for (const QVariant &jump : jumps) {
        const QString letter = jump.toList().at(0).toString();
        const QVariant keys = jump.toList().at(1);
        QVERIFY2(keys.isValid() && !keys.isNull(), qPrintable("no section for " + letter));
        QVERIFY2(!keys.toStringList().isEmpty(), qPrintable(letter));
        for (const QString &key : keys.toStringList()) {
            QVERIFY2(key.startsWith(letter, Qt::CaseInsensitive), qPrintable(letter + ": " + key));
            reached.insert(key);
        }
    }
    QCOMPARE(reached.size(), qsizetype(m_rows.size()));

    // A letter that leads nowhere begins no keyword.
    const QStringList unlinked = WebWait::evaluate(m_view.page(),
        "Array.from(document.querySelectorAll('#letters .empty'))"
        ".map(function (e) { return e.textContent; })")
                                     .toStringList();
    for (const QString &letter : unlinked) {
        for (const DictionaryRow &row : m_rows)
            QVERIFY2(!row.key.startsWith(letter, Qt::CaseInsensitive), qPrintable(row.key));
    }
    QCOMPARE(jumps.size() + unlinked.size(), qsizetype(26));
}

void TestStartPage::indexLinkOpensTheSymbol()
{
    const QVariantMap link = WebWait::evaluate(m_view.page(),
        "var a = document.querySelector('#letter-s') ? "
        "document.querySelector('#letter-s').closest('section').querySelector('.symbols a')"
        " : document.querySelector('.symbols a');"
        "a.scrollIntoView(); var r = a.getBoundingClientRect();"
        "({key: a.textContent, href: a.href, x: r.left + r.width / 2,"
        "  y: r.top + r.height / 2})")
                                 .toMap();
    const QString key = link.value("key").toString();
    QVERIFY(!key.isEmpty());

    QSignalSpy loads(&m_view, &WebView::DocumentComplete);
    QTest::mouseClick(m_view.focusProxy(), Qt::LeftButton, {},
        QPoint(link.value("x").toInt(), link.value("y").toInt()));
    QVERIFY(WebWait::documents(loads));
    QCOMPARE(m_view.LocationURL(), link.value("href").toString());
    QTRY_COMPARE_WITH_TIMEOUT(m_view.LocationName(), key, WebWait::Timeout);
}

void TestStartPage::meaningSearch_data()
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

void TestStartPage::meaningSearch()
{
    QFETCH(QString, term);
    QFETCH(QString, longerWord);
    const QStringList words = wordsOf(term);

    QHash<QString, Expected> expected;
    int longerOnly = 0;
    for (const SourceSymbol &s : m_sources) {
        const Expected e = expectedFor(s, words);
        if (e.found)
            expected.insert(s.key, e);
        else if (!longerWord.isEmpty()
            && wholeWord(longerWord).match(s.key + ' ' + s.text).hasMatch())
            ++longerOnly;
    }
    if (!longerWord.isEmpty())
        QVERIFY2(longerOnly > 0, qPrintable("no symbol tells " + term + " from " + longerWord));

    // As a user searches: the field, then Enter (the form's submission).
    WebWait::evaluate(m_view.page(),
        QStringLiteral("var f = document.getElementById('find-term'); f.value = %1;"
                       "f.form.requestSubmit(); true")
            .arg(json(term)));
    const QString status
        = WebWait::evaluate(m_view.page(), "document.getElementById('find-status').textContent")
              .toString();
    // A long list comes in two steps: the best at once, the rest when the user asks.
    const QList<QStringList> first = links(m_view, "#find-results a");
    const bool more = WebWait::evaluate(m_view.page(),
        "document.getElementById('find-more')"
        ".getClientRects().length > 0")
                          .toBool();
    QCOMPARE(more, first.size() < expected.size());
    if (more) {
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
                > first.size();
        }));
        // The button is gone; the keyboard goes on at the first result it brought.
        QCOMPARE(WebWait::evaluate(m_view.page(),
                     "Array.from(document.querySelectorAll('#find-results a'))"
                     ".indexOf(document.activeElement)")
                     .toInt(),
            first.size());
    }
    const QList<QStringList> results = links(m_view, "#find-results a");
    QCOMPARE(results.mid(0, first.size()), first);

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

    QVERIFY(!status.isEmpty());
    if (expected.isEmpty())
        QVERIFY2(status.startsWith("No symbol mentions"), qPrintable(status));
    if (expected.size() > 1)
        QVERIFY2(status.contains(QString::number(expected.size())), qPrintable(status));
}

void TestStartPage::meaningSearchWithoutWords_data()
{
    QTest::addColumn<QString>("term");
    QTest::addColumn<bool>("told");
    QTest::newRow("empty") << "" << false;
    QTest::newRow("spaces") << "   " << false;
    QTest::newRow("punctuation only") << "?!*" << true;
}

void TestStartPage::meaningSearchWithoutWords()
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

void TestStartPage::searchFieldIsLabelledAndAnnounced()
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

void TestStartPage::symbolOfTheDayIsStableForADate_data()
{
    QTest::addColumn<QDate>("date");
    QTest::newRow("an ordinary day") << QDate(2026, 12, 8);
    QTest::newRow("leap day") << QDate(2028, 2, 29);
    QTest::newRow("summer time begins (Europe)") << QDate(2026, 3, 29);
    QTest::newRow("summer time ends (Europe)") << QDate(2026, 10, 25);
    QTest::newRow("new year's eve") << QDate(2026, 12, 31);
}

void TestStartPage::symbolOfTheDayIsStableForADate()
{
    QFETCH(QDate, date);
    const QString day
        = QStringLiteral("%1, %2, %3").arg(date.year()).arg(date.month() - 1).arg(date.day());
    const QStringList keys = WebWait::evaluate(m_view.page(),
        QStringLiteral("[[0, 0], [0, 1], [3, 30], [12, 0], [23, 59]].map(function (t) {"
                       "  return SomnilexStart.symbolOfTheDay(new Date(%1, t[0], t[1])).key; })"
                       ".concat([SomnilexStart.symbolOfTheDay(new Date(%1 + 1, 12, 0)).key])")
            .arg(day))
                                 .toStringList();
    QCOMPARE(keys.size(), 6);
    QVERIFY(!keys.first().isEmpty());
    QCOMPARE(keys.count(keys.first()), 5); // the same all day
    QVERIFY2(keys.last() != keys.first(), "the next day brings another symbol");
    bool shipped = false;
    for (const DictionaryRow &row : m_rows)
        shipped = shipped || row.key == keys.first();
    QVERIFY(shipped);
}

void TestStartPage::symbolOfTheDayVisitsEverySymbol()
{
    // Today's card, on two loads of the page, names the symbol the script gives for today.
    const QString script = QStringLiteral("[document.querySelector('#today h3 a').textContent,"
                                          " document.querySelector('#today h3 a').href,"
                                          " SomnilexStart.symbolOfTheDay(new Date()).key]");
    const QStringList first = WebWait::evaluate(m_view.page(), script).toStringList();
    open(StartPage);
    const QStringList second = WebWait::evaluate(m_view.page(), script).toStringList();
    QCOMPARE(first.size(), 3);
    QCOMPARE(first, second);
    QCOMPARE(first[0], first[2]);
    QVERIFY2(QFile::exists(resourceOf(first[1])), qPrintable(first[1]));

    // As many days in a row as there are symbols name every symbol once.
    const QStringList keys = WebWait::evaluate(m_view.page(),
        QStringLiteral(
            "var keys = []; for (var d = 0; d < %1; d++)"
            "  keys.push(SomnilexStart.symbolOfTheDay(new Date(2026, 0, 1 + d, 12)).key);"
            "keys")
            .arg(m_rows.size()))
                                 .toStringList();
    QSet<QString> shipped;
    for (const DictionaryRow &row : m_rows)
        shipped.insert(row.key);
    QCOMPARE(QSet<QString>(keys.begin(), keys.end()), shipped);
}

void TestStartPage::loadsNothingFromOutside_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("start page") << StartPage;
    QTest::newRow("error page")
        << "qrc:/dreams/error.html?url=http%3A%2F%2Fexample.test%2F&reason=host";
}

void TestStartPage::loadsNothingFromOutside()
{
    QFETCH(QString, address);
    // A profile of its own, whose empty cache lets every request through to the recorder.
    QWebEngineProfile profile;
    RequestRecorder recorder;
    profile.setUrlRequestInterceptor(&recorder);
    QWebEnginePage page(&profile);
    QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
    page.load(QUrl(address));
    QVERIFY(WebWait::until([&] { return !loaded.isEmpty(); }));
    QVERIFY(loaded.first().first().toBool());
    QVERIFY2(recorder.requested.size() >= 3, // the page, its style sheet and a script at least
        qPrintable(recorder.requested.join(' ')));
    for (const QString &name : recorder.requested)
        QVERIFY2(name.startsWith("qrc:/dreams/"), qPrintable(name));

    // Scripts only from files, so that a policy without inline script holds.
    QFile file(resourceOf(address.section('?', 0, 0)));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    QVERIFY(!html.contains(QRegularExpression("<script(?![^>]*\\bsrc=)")));
    QVERIFY(!html.contains(
        QRegularExpression("\\son[a-z]+\\s*=", QRegularExpression::CaseInsensitiveOption)));
    QVERIFY(html.contains("script-src 'self'"));
}

void TestStartPage::contrast_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("prepare");
    QTest::newRow("start page, with results") << StartPage
                                              << "var f = document.getElementById('find-term'); "
                                                 "f.value = 'water'; f.form.requestSubmit();";
    QTest::newRow("error page")
        << "qrc:/dreams/error.html?url=http%3A%2F%2Fexample.test%2F&reason=status&status=404"
        << "";
}

void TestStartPage::contrast()
{
    QFETCH(QString, address);
    QFETCH(QString, prepare);
    open(address);
    // Run twice by CTest: once as the engine comes, once asked for the dark scheme.
    const bool dark = qEnvironmentVariable("SOMNILEX_SCHEME") == QLatin1String("dark");
    QCOMPARE(WebWait::evaluate(m_view.page(), "matchMedia('(prefers-color-scheme: dark)').matches")
                 .toBool(),
        dark);

    // Every visible text against the first solid background behind it (WCAG's formula).
    const QVariantMap checked = WebWait::evaluate(m_view.page(),
        prepare
            + "function rgb(c) { var p = c.match(/[\\d.]+/g).map(Number);"
              "  return { c: p.slice(0, 3), a: p.length > 3 ? p[3] : 1 }; }"
              "function lum(c) { var w = [0.2126, 0.7152, 0.0722], l = 0;"
              "  c.c.forEach(function (v, i) { v /= 255;"
              "    l += w[i] * (v <= 0.03928 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4)); });"
              "  return l; }"
              "function behind(e) { for (; e; e = e.parentElement) {"
              "  var b = rgb(getComputedStyle(e).backgroundColor); if (b.a > 0) return b; }"
              "  return null; }"
              "var poor = [], seen = 0;"
              "document.querySelectorAll('body *').forEach(function (e) {"
              "  var text = Array.from(e.childNodes).some(function (n) {"
              "    return n.nodeType === 3 && n.textContent.trim(); })"
              "    || e.tagName === 'INPUT';"
              "  if (!text || e.getClientRects().length === 0) return;"
              "  var fg = rgb(getComputedStyle(e).color), bg = behind(e);"
              "  if (!bg || bg.a < 1 || fg.a < 1) { poor.push(e.tagName + ': not opaque'); return; "
              "}"
              "  var a = lum(fg) + 0.05, b = lum(bg) + 0.05, ratio = Math.max(a, b) / Math.min(a, "
              "b);"
              "  seen++;"
              "  if (ratio < 4.5) poor.push(e.tagName + '.' + e.className + ' ' + ratio.toFixed(2)"
              "    + ' ' + e.textContent.trim().slice(0, 30));"
              "});"
              "({seen: seen, poor: poor})")
                                    .toMap();
    QVERIFY(checked.value("seen").toInt() > 5);
    QVERIFY2(checked.value("poor").toStringList().isEmpty(),
        qPrintable(checked.value("poor").toStringList().join('\n')));
}

QTEST_MAIN(TestStartPage)
#include "tst_startpage.moc"
