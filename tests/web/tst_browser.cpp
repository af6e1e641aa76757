#include "AppState.h"
#include "Fakes.h"
#include "LinkLabel.h"
#include "LocalHttpServer.h"
#include "LookupController.h"
#include "MDI.h"
#include "MainWindowTestBase.h"
#include "NavigationToolbar.h"
#include "OfflineNotice.h"
#include "PaneLayout.h"
#include "TestDictionary.h"
#include "WebView.h"
#include "WebWait.h"
#include "frmBrowser.h"
#include "frmMain.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <QWebEngineHistory>
#include <QtTest>

namespace {

constexpr int LoadTimeout = 20000;
const QString Partner = QStringLiteral("partner-pub-0001:abc");
const QString ReplyTitle = QStringLiteral("Results from the engine");
const QString FirstCaption = QStringLiteral("Somnilex v1.65");
// The hidden fields after q, as a browser form-encodes them.
const QString FieldsAfterTerm
    = QStringLiteral("&sa=Search&client=partner-pub-0001%3Aabc&forid=1&ie=ISO-8859-1&oe=ISO-8859-1"
                     "&cof=GALT%3A%23008000%3BGL%3A1%3BDIV%3A%23336699%3BVLC%3A663399%3BAH%3Acenter"
                     "%3BBGC%3AFFFFFF%3BLBGC%3A336699%3BALC%3A0000FF%3BLC%3A0000FF%3BT%3A000000"
                     "%3BGFNT%3A0000FF%3BGIMP%3A0000FF%3BFORID%3A1%3B&hl=en");

QString queryOf(const QString &target)
{
    return target.section(QLatin1Char('?'), 1);
}

// name=value pairs of a form-encoded query, decoded.
QList<QPair<QString, QString>> fieldsOf(const QString &query)
{
    QList<QPair<QString, QString>> fields;
    for (const QString &pair : query.split(QLatin1Char('&'))) {
        QString value = pair.section(QLatin1Char('='), 1);
        value.replace(QLatin1Char('+'), QLatin1Char(' '));
        fields.append(
            { pair.section(QLatin1Char('='), 0, 0), QUrl::fromPercentEncoding(value.toUtf8()) });
    }
    return fields;
}

QStringList itemsOf(const QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

} // namespace

class TestBrowser : public MainWindowTestBase
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void init();
    void cleanup();
    void searchSendsTheFormInFieldOrder();
    void termArrivesAsOneValue_data();
    void termArrivesAsOneValue();
    void hostileTermArrivesVerbatimAndRunsNothing_data();
    void hostileTermArrivesVerbatimAndRunsNothing();
    void blankBox_data();
    void blankBox();
    void blankPageIsNeverListedNorCaption();
    void sameAddressTwiceIsListedOnceOnTop();
    void secondSearchStartsAfresh();
    void choosingAnEntryDoesNotNavigate();
    void offlineShowsTheNoticeOnly();
    void mainToolbarActsOnTheMeaningPane();
    void resizeFollowsTheMainWindow();
    void makeUpAndHomePageLink();

private:
    void openWindow();
    // Web-search mode, the term typed, then Enter or the Search button.
    void webSearch(const QString &term, bool enter);
    void waitForReply();
    frmBrowser *browser() const { return m_window->browserWindow(); }

    std::unique_ptr<LocalHttpServer> m_server;
};

void TestBrowser::init()
{
    m_server = std::make_unique<LocalHttpServer>();
    QVERIFY(m_server->start());
    m_server->setPage(QStringLiteral("/custom"), LocalHttpServer::titledPage(ReplyTitle));
    setUpFixture();
    m_folder->writeDictionary(rowsOf({ "Snake", "Moon" }));
    m_fakes->connection.online = true;
    m_config.MainSiteAddress = m_server->url(QStringLiteral("/home"));
    m_config.SearchEngineAddress = m_server->baseUrl();
    m_config.SearchPartnerId = Partner;
}

void TestBrowser::cleanup()
{
    tearDownFixture();
    m_server.reset();
}

void TestBrowser::openWindow()
{
    openMainWindow();
    m_window->panes()->showMeaningPane();
}

void TestBrowser::webSearch(const QString &term, bool enter)
{
    m_window->findChild<QRadioButton *>("optGoogle")->setChecked(true);
    m_window->findChild<QLineEdit *>("txtKey")->setText(term);
    if (enter)
        QTest::keyClick(m_window->findChild<QLineEdit *>("txtKey"), Qt::Key_Return);
    else
        m_window->findChild<QPushButton *>("cmdSearch")->click();
}

void TestBrowser::waitForReply()
{
    QTRY_COMPARE_WITH_TIMEOUT(
        m_server->requestsFor(QStringLiteral("/custom")).size(), 1, LoadTimeout);
    QVERIFY(browser());
    QTRY_COMPARE_WITH_TIMEOUT(browser()->windowTitle(), ReplyTitle, LoadTimeout);
}

void TestBrowser::searchSendsTheFormInFieldOrder()
{
    openWindow();
    webSearch(QStringLiteral("Snake"), false);
    QVERIFY(browser());
    QCOMPARE(browser()->QueryString, QStringLiteral("Snake"));
    waitForReply();
    const QString target = m_server->requestsFor(QStringLiteral("/custom")).first();
    QCOMPARE(queryOf(target), QStringLiteral("q=Snake") + FieldsAfterTerm);
    QCOMPARE(itemsOf(browser()->cboAddress), QStringList { m_server->url(target) });
    QCOMPARE(browser()->cboAddress->currentIndex(), 0);
    QCOMPARE(browser()->cboAddress->currentText(), m_server->url(target));
    QCOMPARE(
        m_window->findChild<QMdiArea *>("mdiArea")->activeSubWindow(), browser()->parentWidget());
    QCOMPARE(m_state.IsOnline, 1);
    // Online, the address box moves to the label's width and top, clear of its text.
    const QLabel *label = browser()->lblAddress;
    QCOMPARE(browser()->cboAddress->pos(), QPoint(label->width(), label->y()));
    QVERIFY(browser()->cboAddress->x() >= label->x() + label->sizeHint().width());
}

void TestBrowser::termArrivesAsOneValue_data()
{
    QTest::addColumn<QString>("term");
    QTest::addColumn<QString>("encoded");
    QTest::newRow("spaces kept") << "  Snake "
                                 << "++Snake+";
    QTest::newRow("field separators") << "a&b=c#d"
                                      << "a%26b%3Dc%23d";
    QTest::newRow("plus and percent") << "1+1 %20"
                                      << "1%2B1+%2520";
}

void TestBrowser::termArrivesAsOneValue()
{
    QFETCH(QString, term);
    QFETCH(QString, encoded);
    openWindow();
    webSearch(term, true);
    waitForReply();
    const QString query = queryOf(m_server->requestsFor(QStringLiteral("/custom")).first());
    QCOMPARE(query, QStringLiteral("q=") + encoded + FieldsAfterTerm);
    QCOMPARE(fieldsOf(query).first().second, term);
}

void TestBrowser::hostileTermArrivesVerbatimAndRunsNothing_data()
{
    // BASE stands for the local server: a request for /ran or /injected means the term ran.
    QTest::addColumn<QString>("term");
    QTest::newRow("quotes") << R"(He said "don't" and 'left')";
    QTest::newRow("backslashes") << R"(C:\dreams\ \" \' \\u0022)";
    QTest::newRow("script close") << R"(</script><script>new Image().src='BASE/ran'</script>)";
    QTest::newRow("image onerror")
        << R"(<img src="BASE/injected" onerror="new Image().src='BASE/ran'">)";
    QTest::newRow("breaks out of an attribute")
        << R"("><img src="BASE/injected" onerror="new Image().src='BASE/ran'"><b x=")";
    QTest::newRow("breaks out of a call") << R"("]);new Image().src='BASE/ran';//)";
    QTest::newRow("breaks out of a quoted text") << R"(');new Image().src='BASE/ran';//)";
    QTest::newRow("template") << R"(${new Image().src='BASE/ran'}`)";
    QTest::newRow("line break") << "first line\r\nsecond line";
}

void TestBrowser::hostileTermArrivesVerbatimAndRunsNothing()
{
    QFETCH(QString, term);
    term.replace(QStringLiteral("BASE"), m_server->baseUrl());
    openWindow();
    webSearch(term, false);
    waitForReply();
    QCOMPARE(browser()->QueryString, term);
    const QString query = queryOf(m_server->requestsFor(QStringLiteral("/custom")).first());
    const auto fields = fieldsOf(query);
    QCOMPARE(fields.size(), 8);
    QCOMPARE(fields.first().first, QStringLiteral("q"));
    QCOMPARE(fields.first().second, term);
    QVERIFY(query.endsWith(FieldsAfterTerm));
    QCOMPARE(browser()->windowTitle(), ReplyTitle);
    // A stray script ran in the page that the reply replaced: its requests left before one
    // from the reply.
    QVERIFY(!WebWait::sentinel(browser()->brwWebBrowser->page(), *m_server).isEmpty());
    QVERIFY(m_server->requestsFor(QStringLiteral("/ran")).isEmpty());
    QVERIFY(m_server->requestsFor(QStringLiteral("/injected")).isEmpty());
}

void TestBrowser::blankBox_data()
{
    QTest::addColumn<QString>("term");
    QTest::newRow("empty") << "";
    QTest::newRow("only spaces") << "   ";
}

void TestBrowser::blankBox()
{
    QFETCH(QString, term);
    openWindow();
    // The Search button refuses it ...
    webSearch(term, false);
    QCOMPARE(m_fakes->prompter.texts(), QStringList { "Please Enter Search Term" });
    QVERIFY(!browser());
    // ... Enter sends it as an empty term.
    webSearch(term, true);
    QVERIFY(browser());
    QCOMPARE(browser()->QueryString, QString());
    waitForReply();
    QCOMPARE(queryOf(m_server->requestsFor(QStringLiteral("/custom")).first()),
        QStringLiteral("q=") + FieldsAfterTerm);
    QCOMPARE(m_fakes->prompter.texts().size(), 1);
}

void TestBrowser::blankPageIsNeverListedNorCaption()
{
    openWindow();
    webSearch(QStringLiteral("Snake"), false);
    QStringList captions;
    connect(browser(), &QWidget::windowTitleChanged, this,
        [&captions](const QString &caption) { captions << caption; });
    waitForReply();
    const QStringList listed = itemsOf(browser()->cboAddress);
    QCOMPARE(listed.size(), 1);

    // Back on the empty page: nothing changes.
    WebView *view = browser()->brwWebBrowser;
    QSignalSpy documents(view, &WebView::DocumentComplete); // after the window's own handler
    view->Navigate(QStringLiteral("about:blank"));
    QVERIFY(WebWait::documents(documents));
    QCOMPARE(documents.first().first().toString(), QStringLiteral("about:blank"));
    QCOMPARE(view->LocationURL(), QStringLiteral("about:blank"));
    // Scripts run in turn: had the handler placed the search page again, this one would find
    // it, or the reply that it brought.
    QCOMPARE(WebWait::evaluate(view->page(), QStringLiteral("document.body.innerHTML")),
        QVariant(QString()));
    QCOMPARE(itemsOf(browser()->cboAddress), listed);
    QCOMPARE(browser()->windowTitle(), ReplyTitle);
    QVERIFY(!captions.isEmpty());
    for (const QString &caption : captions)
        QVERIFY2(!caption.contains(QStringLiteral("about:blank")), qPrintable(caption));
    // The search page went in once: no second request from the empty page.
    QCOMPARE(m_server->requestsFor(QStringLiteral("/custom")).size(), 1);
}

void TestBrowser::sameAddressTwiceIsListedOnceOnTop()
{
    openWindow();
    webSearch(QStringLiteral("Snake"), false);
    waitForReply();
    const QString reply = browser()->cboAddress->itemText(0);
    const QString a = m_server->url(QStringLiteral("/a"));
    const QString b = m_server->url(QStringLiteral("/b"));
    for (const QString &address : { a, b, a }) {
        browser()->brwWebBrowser->Navigate(address);
        QTRY_COMPARE_WITH_TIMEOUT(m_server->requests.last(), QUrl(address).path(), LoadTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(browser()->cboAddress->itemText(0), address, LoadTimeout);
    }
    QCOMPARE(itemsOf(browser()->cboAddress), (QStringList { a, b, reply }));
    QCOMPARE(browser()->cboAddress->currentIndex(), 0);
    QCOMPARE(browser()->windowTitle(), QStringLiteral("/a"));
}

void TestBrowser::secondSearchStartsAfresh()
{
    openWindow();
    webSearch(QStringLiteral("Snake"), false);
    waitForReply();
    QPointer<frmBrowser> first = browser();
    first->brwWebBrowser->Navigate(m_server->url(QStringLiteral("/a")));
    QTRY_COMPARE_WITH_TIMEOUT(first->cboAddress->count(), 2, LoadTimeout);

    m_server->requests.clear();
    webSearch(QStringLiteral("Moon"), false);
    QVERIFY(!first);
    QVERIFY(browser());
    QCOMPARE(browser()->cboAddress->count(), 0);
    QCOMPARE(browser()->windowTitle(), FirstCaption);
    QCOMPARE(browser()->QueryString, QStringLiteral("Moon"));
    waitForReply();
    const QString target = m_server->requestsFor(QStringLiteral("/custom")).first();
    QVERIFY(target.startsWith(QStringLiteral("/custom?q=Moon&")));
    QCOMPARE(itemsOf(browser()->cboAddress), QStringList { m_server->url(target) });
    QCOMPARE(m_window->findChild<QMdiArea *>("mdiArea")->subWindowList().size(),
        2); // meaning pane and one browser
}

void TestBrowser::choosingAnEntryDoesNotNavigate()
{
    openWindow();
    webSearch(QStringLiteral("Snake"), false);
    waitForReply();
    frmBrowser *window = browser();
    const QString a = m_server->url(QStringLiteral("/a"));
    window->brwWebBrowser->Navigate(a);
    QTRY_COMPARE_WITH_TIMEOUT(window->cboAddress->count(), 2, LoadTimeout);
    const QStringList listed = itemsOf(window->cboAddress);
    const int requests = m_server->requests.size();
    QWebEnginePage *page = window->brwWebBrowser->page();
    const QUrl requested = page->requestedUrl();

    QComboBox *box = window->cboAddress;
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
    QCOMPARE(window->brwWebBrowser->LocationURL(), a);
    QCOMPARE(itemsOf(box), listed);
}

void TestBrowser::offlineShowsTheNoticeOnly()
{
    m_fakes->connection.online = false;
    openWindow();
    webSearch(QStringLiteral("Snake"), false);
    QVERIFY(browser());
    QVERIFY(browser()->lblCaption->isVisible());
    QCOMPARE(browser()->lblCaption->text(), offlineNoticeText());
    QVERIFY(!browser()->brwWebBrowser->isVisible());
    QCOMPARE(browser()->QueryString, QString());
    // The load rule would have asked the view for the empty page; a page loaded elsewhere lets
    // anything it queued run first.
    QVERIFY(WebWait::roundTrip(m_server->url(QStringLiteral("/elsewhere"))));
    QCOMPARE(browser()->brwWebBrowser->page()->requestedUrl(), QUrl());
    QCOMPARE(m_server->requests, QStringList { "/elsewhere" });
    QCOMPARE(browser()->cboAddress->count(), 0);
    QCOMPARE(browser()->windowTitle(), FirstCaption);
}

void TestBrowser::mainToolbarActsOnTheMeaningPane()
{
    openWindow();
    WebView *meaning = m_window->meaningPane()->WB;
    const QString home = m_server->url(QStringLiteral("/home"));
    const QString second = m_server->url(QStringLiteral("/second"));
    QTRY_COMPARE_WITH_TIMEOUT(meaning->LocationURL(), home, LoadTimeout);
    m_window->panes()->navigateMeaningPane(second);
    QTRY_COMPARE_WITH_TIMEOUT(meaning->LocationName(), QStringLiteral("/second"), LoadTimeout);

    webSearch(QStringLiteral("Snake"), false);
    waitForReply();
    // A page further on, so that the browser window could go back too.
    const QString browserAt = m_server->url(QStringLiteral("/browsed"));
    QCOMPARE(WebWait::navigate(*browser()->brwWebBrowser, browserAt), browserAt);
    QVERIFY(browser()->brwWebBrowser->history()->canGoBack());
    QWebEngineHistory *browserHistory = browser()->brwWebBrowser->history();
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
    QCOMPARE(browser()->brwWebBrowser->LocationURL(), browserAt);

    // And forward again.
    m_window->findChild<QToolBar *>("TB")
        ->findChild<QAction *>(QStringLiteral("Forward"))
        ->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(meaning->LocationURL(), second, LoadTimeout);
    QCOMPARE(browserHistory->currentItemIndex(), browserEntry);
    QCOMPARE(browser()->brwWebBrowser->LocationURL(), browserAt);
}

void TestBrowser::resizeFollowsTheMainWindow()
{
    m_fakes->connection.online = false;
    openWindow();
    webSearch(QStringLiteral("Snake"), false);
    QVERIFY(browser());
    browser()->Form_Resize(
        PaneLayout::browserWindow(FrameMetrics { 12000, 9000, 2925, 645, 525, 540 }).geometry());
    QCOMPARE(browser()->parentWidget()->geometry(), QRect(-5, -5, 605, 606));
    QCOMPARE(browser()->size(), QSize(605, 606));
    QCOMPARE(browser()->brwWebBrowser->size(), QSize((9075 - 100) / 15, 6640 / 15));

    // Growing the main window grows the browser window with it.
    m_window->resize(m_window->width() + 150, m_window->height() + 90);
    QTRY_VERIFY(browser()->parentWidget()->width() != 605);
    const FrameMetrics frame = m_window->frameMetrics();
    QCOMPARE(browser()->parentWidget()->width(), (frame.outerWidth - frame.picLeftWidth) / 15);
    QCOMPARE(browser()->parentWidget()->height(), (frame.outerHeight + 100) / 15);
    QCOMPARE(browser()->parentWidget()->pos(), QPoint(-5, -5));
}

void TestBrowser::makeUpAndHomePageLink()
{
    m_fakes->connection.online = false;
    openWindow();
    webSearch(QStringLiteral("Snake"), false);
    frmBrowser *window = browser();
    QVERIFY(window);
    QCOMPARE(window->lblAddress->text(), QStringLiteral("&Address:"));
    QCOMPARE(window->lblAddress->buddy(), window->cboAddress);
    QStringList keys;
    for (QAction *action : window->tbToolBar->actions()) {
        if (!action->objectName().isEmpty())
            keys << action->objectName();
    }
    QCOMPARE(keys, (QStringList { "Back", "Forward", "Stop", "Refresh", "Home", "Search" }));
    for (QWidget *control :
        { static_cast<QWidget *>(window->cboAddress), static_cast<QWidget *>(window->brwWebBrowser),
            static_cast<QWidget *>(window->Label61) })
        QVERIFY2(!control->accessibleName().isEmpty(), control->metaObject()->className());

    // A click anywhere in the label, also past the end of its text.
    LinkLabel *link = window->Label61;
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(link->width() - 2, link->height() / 2));
    QCOMPARE(m_fakes->links.opened, QStringList { m_config.MainSiteAddress });
}

QTEST_MAIN(TestBrowser)
#include "tst_browser.moc"
