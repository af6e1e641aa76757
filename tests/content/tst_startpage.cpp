// The start page as the meaning pane shows it: loaded from the bundled resources into the real
// web engine, its own script driven as a user would drive it. Here its index of every symbol
// and its symbol of the day.
#include "StartPageTest.h"

#include <QSet>
#include <QSignalSpy>

class TestStartPage : public QObject, private StartPageFixture
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
    void indexListsEverySymbolOnce();
    void lettersJumpToTheirSymbols();
    void indexLinkOpensTheSymbol();
    void symbolOfTheDayIsStableForADate_data();
    void symbolOfTheDayIsStableForADate();
    void symbolOfTheDayVisitsEverySymbol();
};

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

QTEST_MAIN(TestStartPage)
#include "tst_startpage.moc"
