// The browser window around a web search: its address list, a second search, offline, the
// toolbars, its size and its make-up.
#include "BrowserTestBase.h"

using namespace BrowserTexts;

class TestBrowserWindow : public BrowserTestBase
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void init() { setUpBrowser(); }
    void cleanup() { tearDownBrowser(); }
    void sameAddressTwiceIsListedOnceOnTop();
    void secondSearchStartsAfresh();
    void choosingAnEntryDoesNotNavigate();
    void offlineShowsTheNoticeOnly();
    void mainToolbarActsOnTheMeaningPane();
    void resizeFollowsTheMainWindow();
    void makeUpAndHomePageLink();
};

void TestBrowserWindow::sameAddressTwiceIsListedOnceOnTop()
{
    openWindow();
    webSearch(QStringLiteral("Snake"), false);
    waitForReply();
    const QString reply = addressBox(browser())->itemText(0);
    const QString a = m_server->url(QStringLiteral("/a"));
    const QString b = m_server->url(QStringLiteral("/b"));
    for (const QString &address : { a, b, a }) {
        browser()->webView()->Navigate(address);
        QTRY_COMPARE_WITH_TIMEOUT(m_server->requests.last(), QUrl(address).path(), LoadTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(addressBox(browser())->itemText(0), address, LoadTimeout);
    }
    QCOMPARE(itemsOf(addressBox(browser())), (QStringList { a, b, reply }));
    QCOMPARE(addressBox(browser())->currentIndex(), 0);
    QCOMPARE(browser()->windowTitle(), QStringLiteral("/a"));
}

void TestBrowserWindow::secondSearchStartsAfresh()
{
    openWindow();
    webSearch(QStringLiteral("Snake"), false);
    waitForReply();
    QPointer<frmBrowser> first = browser();
    first->webView()->Navigate(m_server->url(QStringLiteral("/a")));
    QTRY_COMPARE_WITH_TIMEOUT(addressBox(first)->count(), 2, LoadTimeout);

    m_server->requests.clear();
    webSearch(QStringLiteral("Moon"), false);
    QVERIFY(!first);
    QVERIFY(browser());
    QCOMPARE(addressBox(browser())->count(), 0);
    QCOMPARE(browser()->windowTitle(), FirstCaption);
    QCOMPARE(browser()->QueryString, QStringLiteral("Moon"));
    waitForReply();
    const QString target = m_server->requestsFor(QStringLiteral("/custom")).first();
    QVERIFY(target.startsWith(QStringLiteral("/custom?q=Moon&")));
    QCOMPARE(itemsOf(addressBox(browser())), QStringList { m_server->url(target) });
    QCOMPARE(m_window->findChild<QMdiArea *>("mdiArea")->subWindowList().size(),
        2); // meaning pane and one browser
}

void TestBrowserWindow::choosingAnEntryDoesNotNavigate()
{
    openWindow();
    webSearch(QStringLiteral("Snake"), false);
    waitForReply();
    frmBrowser *window = browser();
    const QString a = m_server->url(QStringLiteral("/a"));
    window->webView()->Navigate(a);
    QTRY_COMPARE_WITH_TIMEOUT(addressBox(window)->count(), 2, LoadTimeout);
    const QStringList listed = itemsOf(addressBox(window));
    const int requests = m_server->requests.size();
    QWebEnginePage *page = window->webView()->page();
    const QUrl requested = page->requestedUrl();

    QComboBox *box = addressBox(window);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Down); // the older entry
    QCOMPARE(box->currentIndex(), 1);
    QTest::keyClick(box, Qt::Key_Return);
    box->lineEdit()->setText(m_server->url(QStringLiteral("/typed")));
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);

    // A navigation shows in the requested address as soon as it is asked for; by the time a
    // request from the page has come, anything the keys queued has been asked for too.
    const QString sentinel = WebWait::sentinel(page, *m_server);
    QVERIFY(!sentinel.isEmpty());
    QCOMPARE(page->requestedUrl(), requested);
    QCOMPARE(m_server->requests.mid(requests), QStringList { sentinel });
    QCOMPARE(window->webView()->LocationURL(), a);
    QCOMPARE(itemsOf(box), listed);
}

void TestBrowserWindow::offlineShowsTheNoticeOnly()
{
    m_fakes->connection.online = false;
    openWindow();
    webSearch(QStringLiteral("Snake"), false);
    QVERIFY(browser());
    QVERIFY(browser()->findChild<QLabel *>("lblCaption")->isVisible());
    QCOMPARE(browser()->findChild<QLabel *>("lblCaption")->text(), offlineNoticeText());
    QVERIFY(!browser()->webView()->isVisible());
    QCOMPARE(browser()->QueryString, QString());
    // The load rule would have asked the view for the empty page; a page loaded elsewhere lets
    // anything it queued run first.
    QVERIFY(WebWait::roundTrip(m_server->url(QStringLiteral("/elsewhere"))));
    QCOMPARE(browser()->webView()->page()->requestedUrl(), QUrl());
    QCOMPARE(m_server->requests, QStringList { "/elsewhere" });
    QCOMPARE(addressBox(browser())->count(), 0);
    QCOMPARE(browser()->windowTitle(), FirstCaption);
}

void TestBrowserWindow::mainToolbarActsOnTheMeaningPane()
{
    openWindow();
    WebView *meaning = m_window->meaningPane()->webView();
    const QString home = m_server->url(QStringLiteral("/home"));
    const QString second = m_server->url(QStringLiteral("/second"));
    QTRY_COMPARE_WITH_TIMEOUT(meaning->LocationURL(), home, LoadTimeout);
    m_window->panes()->navigateMeaningPane(second);
    QTRY_COMPARE_WITH_TIMEOUT(meaning->LocationName(), QStringLiteral("/second"), LoadTimeout);

    webSearch(QStringLiteral("Snake"), false);
    waitForReply();
    // A page further on, so that the browser window could go back too.
    const QString browserAt = m_server->url(QStringLiteral("/browsed"));
    QCOMPARE(WebWait::navigate(*browser()->webView(), browserAt), browserAt);
    QVERIFY(browser()->webView()->history()->canGoBack());
    QWebEngineHistory *browserHistory = browser()->webView()->history();
    const int browserEntry = browserHistory->currentItemIndex();
    QCOMPARE(
        m_window->findChild<QMdiArea *>("mdiArea")->activeSubWindow(), browser()->parentWidget());

    QAction *back
        = m_window->findChild<QToolBar *>("TB")->findChild<QAction *>(QStringLiteral("Back"));
    QVERIFY(back);
    back->trigger();
    // A history step moves the view's entry at once, before its page comes.
    QCOMPARE(browserHistory->currentItemIndex(), browserEntry);
    QTRY_COMPARE_WITH_TIMEOUT(meaning->LocationURL(), home, LoadTimeout);
    QCOMPARE(browserHistory->currentItemIndex(), browserEntry);
    QCOMPARE(browser()->webView()->LocationURL(), browserAt);

    // And forward again.
    m_window->findChild<QToolBar *>("TB")
        ->findChild<QAction *>(QStringLiteral("Forward"))
        ->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(meaning->LocationURL(), second, LoadTimeout);
    QCOMPARE(browserHistory->currentItemIndex(), browserEntry);
    QCOMPARE(browser()->webView()->LocationURL(), browserAt);
}

void TestBrowserWindow::resizeFollowsTheMainWindow()
{
    m_fakes->connection.online = false;
    openWindow();
    webSearch(QStringLiteral("Snake"), false);
    QVERIFY(browser());
    browser()->Form_Resize(
        PaneLayout::browserWindow(FrameMetrics { 12000, 9000, 2925, 645, 525, 540 }).geometry());
    QCOMPARE(browser()->parentWidget()->geometry(), QRect(-5, -5, 605, 606));
    QCOMPARE(browser()->size(), QSize(605, 606));
    QCOMPARE(browser()->webView()->size(), QSize((9075 - 100) / 15, 6640 / 15));

    // Growing the main window grows the browser window with it.
    m_window->resize(m_window->width() + 150, m_window->height() + 90);
    QTRY_VERIFY(browser()->parentWidget()->width() != 605);
    const FrameMetrics frame = m_window->frameMetrics();
    QCOMPARE(browser()->parentWidget()->width(), (frame.outerWidth - frame.picLeftWidth) / 15);
    QCOMPARE(browser()->parentWidget()->height(), (frame.outerHeight + 100) / 15);
    QCOMPARE(browser()->parentWidget()->pos(), QPoint(-5, -5));
}

void TestBrowserWindow::makeUpAndHomePageLink()
{
    m_fakes->connection.online = false;
    openWindow();
    webSearch(QStringLiteral("Snake"), false);
    frmBrowser *window = browser();
    QVERIFY(window);
    QCOMPARE(window->findChild<QLabel *>("lblAddress")->text(), QStringLiteral("&Address:"));
    QCOMPARE(window->findChild<QLabel *>("lblAddress")->buddy(), addressBox(window));
    QStringList keys;
    for (QAction *action : window->toolbar()->actions()) {
        if (!action->objectName().isEmpty())
            keys << action->objectName();
    }
    QCOMPARE(keys, (QStringList { "Back", "Forward", "Stop", "Refresh", "Home", "Search" }));
    for (QWidget *control :
        { static_cast<QWidget *>(addressBox(window)), static_cast<QWidget *>(window->webView()),
            static_cast<QWidget *>(window->homePageLink()) })
        QVERIFY2(!control->accessibleName().isEmpty(), control->metaObject()->className());

    // A click anywhere in the label, also past the end of its text.
    LinkLabel *link = window->homePageLink();
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(link->width() - 2, link->height() / 2));
    QCOMPARE(m_fakes->links.opened, QStringList { m_config.MainSiteAddress });
}

QTEST_MAIN(TestBrowserWindow)
#include "tst_browserwindow.moc"
