// The page shown in place of a remote page that failed to load, in the real web engine. Its
// address and reason come from whatever failed, so they are treated as hostile.
#include "LocalHttpServer.h"
#include "WebProfile.h"
#include "WebView.h"
#include "WebWait.h"

#include <QSignalSpy>
#include <QUrl>
#include <QtTest>

namespace {

const QString ErrorPage = QStringLiteral("qrc:/dreams/error.html");

// How the program is to address the page: every value percent-encoded whole, so that "&", "+",
// "#" and "=" in a failed address reach the page unchanged.
QString errorAddress(const QList<QPair<QString, QString>> &items)
{
    QStringList query;
    for (const auto &item : items)
        query << item.first + '=' + QString::fromLatin1(QUrl::toPercentEncoding(item.second));
    return ErrorPage + '?' + query.join('&');
}

struct Shown
{
    QString address;
    bool addressShown = false;
    QString reason;
    bool retryShown = false;
    int images = 0;
    QString title;
};

} // namespace

class TestErrorPage : public QObject
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void initTestCase();
    void showsTheAddressAsText_data();
    void showsTheAddressAsText();
    void namesEveryReasonInItsOwnWords();
    void retryLoadsTheFailedAddressInPlace();
    void leadsBackToTheStartPage();

private:
    Shown open(const QString &address);
    QPoint centreOf(const QString &selector);

    WebProfile m_profile;
    WebView m_view { m_profile };
};

void TestErrorPage::initTestCase()
{
    m_view.resize(800, 600);
    m_view.show();
}

Shown TestErrorPage::open(const QString &address)
{
    Shown shown;
    if (WebWait::navigate(m_view, address).isEmpty())
        return shown;
    const QVariantMap found = WebWait::evaluate(m_view.page(),
        "({address: document.getElementById('address').textContent,"
        "  addressShown: document.getElementById('address').getClientRects().length > 0,"
        "  reason: document.getElementById('reason').textContent,"
        "  retryShown: document.getElementById('retry').getClientRects().length > 0,"
        "  images: document.images.length, title: document.title})")
                                  .toMap();
    shown.address = found.value("address").toString();
    shown.addressShown = found.value("addressShown").toBool();
    shown.reason = found.value("reason").toString();
    shown.retryShown = found.value("retryShown").toBool();
    shown.images = found.value("images").toInt();
    shown.title = found.value("title").toString();
    return shown;
}

QPoint TestErrorPage::centreOf(const QString &selector)
{
    const QVariantMap r = WebWait::evaluate(m_view.page(),
        QStringLiteral("var r = document.querySelector('%1')"
                       ".getBoundingClientRect();"
                       "({x: r.left + r.width / 2, y: r.top + r.height / 2})")
            .arg(selector))
                              .toMap();
    return QPoint(r.value("x").toInt(), r.value("y").toInt());
}

void TestErrorPage::showsTheAddressAsText_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("retry");
    QTest::newRow("markup that would run a script")
        << "<img src=x onerror=\"document.title='owned'\">" << false;
    QTest::newRow("markup inside a web address")
        << "http://example.test/<img src=x onerror=\"document.title='owned'\">" << true;
    QTest::newRow("query with & + = # and spaces")
        << "https://example.test/find?q=a+b&x=1%202 3#part" << true;
    QTest::newRow("letters beyond ASCII") << "http://b\u00fccher.example/tr\u00e4ume" << true;
    QTest::newRow("script address") << "javascript:document.title='owned'" << false;
    QTest::newRow("one of our own pages") << "qrc:/dreams/index.html" << false;
    QTest::newRow("a local file") << "file:///etc/passwd" << false;
}

void TestErrorPage::showsTheAddressAsText()
{
    QFETCH(QString, address);
    QFETCH(bool, retry);
    const Shown shown = open(errorAddress({ { "url", address }, { "reason", "host" } }));
    QCOMPARE(shown.address, address);
    QVERIFY(shown.addressShown);
    QCOMPARE(shown.images, 0);
    QVERIFY(!shown.title.contains("owned"));
    QCOMPARE(shown.retryShown, retry);
}

void TestErrorPage::namesEveryReasonInItsOwnWords()
{
    struct Case
    {
        QList<QPair<QString, QString>> query;
        QString mustName; // a part of the sentence that comes from the query
    };
    const QList<Case> cases = {
        { { { "url", "http://nowhere.example/" }, { "reason", "host" } }, "nowhere.example" },
        { { { "url", "http://refusing.example:81/" }, { "reason", "refused" } },
            "refusing.example" },
        { { { "url", "http://slow.example/" }, { "reason", "timeout" } }, "slow.example" },
        { { { "url", "http://missing.example/x" }, { "reason", "status" }, { "status", "404" } },
            "404" },
        { { { "url", "http://broken.example/" }, { "reason", "status" }, { "status", "599" } },
            "599" },
        { { { "url", "http://away.example/" }, { "reason", "offline" } }, "" },
        { { { "url", "https://odd.example/" }, { "reason", "certificate" } }, "odd.example" },
        { { { "url", "http://other.example/" }, { "reason", "something new" } }, "" },
    };
    QStringList sentences;
    for (const Case &c : cases) {
        const Shown shown = open(errorAddress(c.query));
        const QString what = c.query.at(1).second;
        QVERIFY2(shown.reason.size() > 10, qPrintable(what));
        QVERIFY2(shown.reason.contains(c.mustName), qPrintable(what + ": " + shown.reason));
        QVERIFY2(!sentences.contains(shown.reason), qPrintable(what + ": " + shown.reason));
        sentences << shown.reason;
    }

    // A status that is not one keeps nothing of what was passed.
    const Shown odd = open(errorAddress(
        { { "url", "http://x.example/" }, { "reason", "status" }, { "status", "<b>12345</b>" } }));
    QVERIFY2(!odd.reason.contains("12345"), qPrintable(odd.reason));

    // Without an address there is nothing to show or retry, and still a reason.
    const Shown bare = open(ErrorPage);
    QVERIFY(!bare.addressShown);
    QVERIFY(!bare.retryShown);
    QVERIFY(!bare.reason.isEmpty());
}

void TestErrorPage::retryLoadsTheFailedAddressInPlace()
{
    LocalHttpServer server;
    QVERIFY(server.start());
    const QString before = server.url("/before");
    const QString failed = server.url("/again?a=1&b=x+y");
    QCOMPARE(WebWait::navigate(m_view, before), before);
    QVERIFY(open(errorAddress({ { "url", failed }, { "reason", "refused" } })).retryShown);

    QSignalSpy loads(&m_view, &WebView::DocumentComplete);
    QTest::mouseClick(m_view.focusProxy(), Qt::LeftButton, {}, centreOf("#retry"));
    QVERIFY(WebWait::documents(loads));
    QCOMPARE(server.requestsFor("/again"), QStringList({ "/again?a=1&b=x+y" }));
    QCOMPARE(m_view.LocationURL(), failed);

    // The retried page took the error page's place: Back goes to the page before the failure.
    loads.clear();
    m_view.GoBack();
    QVERIFY(WebWait::documents(loads));
    QCOMPARE(m_view.LocationURL(), before);
}

void TestErrorPage::leadsBackToTheStartPage()
{
    open(errorAddress({ { "url", "http://nowhere.example/" }, { "reason", "host" } }));
    QSignalSpy loads(&m_view, &WebView::DocumentComplete);
    QTest::mouseClick(m_view.focusProxy(), Qt::LeftButton, {}, centreOf("#home"));
    QVERIFY(WebWait::documents(loads));
    QCOMPARE(m_view.LocationURL(), QString("qrc:/dreams/index.html"));
    QTRY_COMPARE_WITH_TIMEOUT(m_view.LocationName(), QString("Somnilex"), WebWait::Timeout);
}

QTEST_MAIN(TestErrorPage)
#include "tst_errorpage.moc"
