// What the start page and the error page hold to whatever they show: nothing loaded from
// outside the bundled resources, no inline script, and text that reads against its background
// in the light scheme and the dark.
#include "StartPageTest.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>

namespace {

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

} // namespace

class TestStartPageStandards : public QObject, private StartPageFixture
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void initTestCase() { showView(); }
    void init() { open(StartPage); }
    void loadsNothingFromOutside_data();
    void loadsNothingFromOutside();
    void contrast_data();
    void contrast();
};

void TestStartPageStandards::loadsNothingFromOutside_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("start page") << StartPage;
    QTest::newRow("error page")
        << "qrc:/dreams/error.html?url=http%3A%2F%2Fexample.test%2F&reason=host";
}

void TestStartPageStandards::loadsNothingFromOutside()
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

void TestStartPageStandards::contrast_data()
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

void TestStartPageStandards::contrast()
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

QTEST_MAIN(TestStartPageStandards)
#include "tst_startpagestandards.moc"
