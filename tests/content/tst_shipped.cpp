#include "BuildFolder.h"
#include "DictionaryError.h"
#include "DictionaryFile.h"
#include "WebProfile.h"
#include "WebView.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QtTest>

namespace {

QString pageText(const QString &link)
{
    QFile file(QString(link).replace(QLatin1String("qrc:"), QLatin1String(":")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QStringList seeAlsoPages(const QString &html)
{
    const QString nav = html.section(QLatin1String("class=\"see-also\""), 1);
    QStringList pages;
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]+)\""));
    for (const auto &m : href.globalMatch(nav))
        pages << m.captured(1);
    return pages;
}

// The rows of a file the build made beside the program.
void readShipped(const QString &name, std::vector<DictionaryRow> &rows)
{
    const QString path = buildFolderHolding(QStringLiteral("dream.dll")) + QLatin1Char('/') + name;
    try {
        rows = DictionaryFile::read(path);
    } catch (const DictionaryError &e) {
        QFAIL(qPrintable(e.message()));
    }
}

} // namespace

class TestShipped : public QObject
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void filesAreWhole_data();
    void filesAreWhole();
    void updateSampleIsNew();
    void pageOpensAndLinksFollow();
};

void TestShipped::filesAreWhole_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("atLeast");
    QTest::newRow("dictionary") << "dream.dll" << 1000;
    QTest::newRow("update sample") << "update-sample.dll" << 50;
}

void TestShipped::filesAreWhole()
{
    QFETCH(QString, file);
    QFETCH(int, atLeast);
    std::vector<DictionaryRow> rows;
    readShipped(file, rows);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(rows.size() >= size_t(atLeast), qPrintable(QString::number(rows.size())));

    QSet<QString> keys;
    QString previous;
    static const QRegularExpression meaning(
        QStringLiteral("<section class=\"meaning\"[^>]*>\\s*<p>([^<]+)</p>"));
    for (const DictionaryRow &row : rows) {
        QVERIFY2(!keys.contains(row.key.toLower()), qPrintable(row.key));
        keys.insert(row.key.toLower());
        QVERIFY2(QString::compare(previous, row.key, Qt::CaseInsensitive) < 0, qPrintable(row.key));
        previous = row.key;
        QCOMPARE(row.names, QString("astro"));
        QVERIFY2(row.link.startsWith("qrc:/dreams/"), qPrintable(row.link));

        const QString html = pageText(row.link);
        QVERIFY2(!html.isEmpty(), qPrintable(row.link));
        QVERIFY2(
            html.contains("<title>" + row.key.toHtmlEscaped() + "</title>"), qPrintable(row.link));
        const auto m = meaning.match(html);
        QVERIFY2(m.hasMatch() && m.captured(1).trimmed().size() > 100, qPrintable(row.link));
        const QStringList others = seeAlsoPages(html);
        QVERIFY2(others.size() >= 2, qPrintable(row.link));
        for (const QString &other : others)
            QVERIFY2(QFile::exists(":/dreams/" + other), qPrintable(row.link + " -> " + other));
    }
    QVERIFY(QFile::exists(":/dreams/style.css"));
}

void TestShipped::updateSampleIsNew()
{
    std::vector<DictionaryRow> dictionary, sample;
    readShipped("dream.dll", dictionary);
    readShipped("update-sample.dll", sample);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(!sample.empty());
    QSet<QString> links;
    QSet<QString> keys;
    for (const DictionaryRow &row : dictionary) {
        links.insert(row.link);
        keys.insert(row.key.toLower());
    }
    for (const DictionaryRow &row : sample) {
        QVERIFY2(!links.contains(row.link), qPrintable(row.link));
        QVERIFY2(!keys.contains(row.key.toLower()), qPrintable(row.key));
    }
}

void TestShipped::pageOpensAndLinksFollow()
{
    WebProfile profile;
    WebView view(profile);
    view.resize(800, 600);
    view.show();
    QSignalSpy loads(&view, &WebView::DocumentComplete);
    view.Navigate("qrc:/dreams/snake.html");
    QTRY_COMPARE_WITH_TIMEOUT(loads.size(), 1, 20000);
    QCOMPARE(view.LocationName(), QString("Snake"));

    // The link's address and where it stands, to click it as a user would: the history skips
    // pages left by a script without a user's gesture.
    QVariantMap link;
    bool answered = false;
    view.page()->runJavaScript("var a = document.querySelector('.see-also a');"
                               "a.scrollIntoView(); var r = a.getBoundingClientRect();"
                               "({href: a.href, x: r.left + r.width / 2, y: r.top + r.height / 2})",
        [&](const QVariant &v) {
            link = v.toMap();
            answered = true;
        });
    QTRY_VERIFY_WITH_TIMEOUT(answered, 10000);
    const QString firstLink = link.value("href").toString();
    QVERIFY2(firstLink.startsWith("qrc:/dreams/") && firstLink != view.LocationURL(),
        qPrintable(firstLink));

    QTest::mouseClick(view.focusProxy(), Qt::LeftButton, {},
        QPoint(link.value("x").toInt(), link.value("y").toInt()));
    QTRY_COMPARE_WITH_TIMEOUT(loads.size(), 2, 20000);
    QCOMPARE(view.LocationURL(), firstLink);
    QVERIFY(!view.LocationName().isEmpty() && view.LocationName() != "Snake");

    view.GoBack();
    QTRY_COMPARE_WITH_TIMEOUT(view.LocationURL(), QString("qrc:/dreams/snake.html"), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(view.LocationName(), QString("Snake"), 20000);
}

QTEST_MAIN(TestShipped)
#include "tst_shipped.moc"
