// The meaning pane: what it opens at start-up, online and offline, the notice in place of a page
// that needs the network, the error page, what counts as online, and its size. What a lookup
// opens in it is tested in tst_meaningpane_lookups.
#include "MeaningPaneFixture.h"

Q_DECLARE_METATYPE(FrameMetrics)

using namespace MeaningPaneTexts;

class TestMeaningPane : public QObject, private MeaningPaneFixture
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void initTestCase() { startServer(); }
    void init() { forgetDocuments(); }
    void startUpOnlineOpensTheMainSite();
    void startUpPage_data();
    void startUpPage();
    void startUpOfflineShowsTheStartPage();
    void offlineBundledPagesShowAndWebPagesNeedTheNetwork();
    void failedLinkShowsOurErrorPage();
    void onlyOneCountsAsOnline_data();
    void onlyOneCountsAsOnline();
    void resizeSizesPaneAndView_data();
    void resizeSizesPaneAndView();
};

void TestMeaningPane::startUpOnlineOpensTheMainSite()
{
    FakeServices fakes;
    fakes.connection.online = true;
    Application app(config(), fakes.services());
    app.StartApplication();
    QCOMPARE(app.state().IsOnline, 1);
    frmMain *pane = paneOf(app);
    QVERIFY(pane);
    QVERIFY(pane->webView()->isVisible());
    QVERIFY(!noticeOf(pane)->isVisible());
    QVERIFY(app.state().CurrentTerm.isEmpty());

    QVERIFY(showing(pane, m_server.baseUrl() + "/"));
    QCOMPARE(m_server.requests, QStringList { "/" });
    QVERIFY(app.state().CurrentTerm.isEmpty());
}

void TestMeaningPane::startUpPage_data()
{
    // %1 stands for the server's address; an empty request list: nothing asked of the server.
    QTest::addColumn<QString>("mainSite");
    QTest::addColumn<QString>("shown"); // empty: the start page
    QTest::addColumn<QStringList>("requests");
    QTest::newRow("real site") << "%1"
                               << "%1/" << QStringList { "/" };
    QTest::newRow("real site with a path") << "%1/home"
                                           << "%1/home" << QStringList { "/home" };
    QTest::newRow("built-in placeholder") << "https://www.somnilex.example"
                                          << "" << QStringList();
    QTest::newRow("no site at all") << ""
                                    << "" << QStringList();
    QTest::newRow("site answers not found") << "%1/missing"
                                            << "" << QStringList { "/missing" };
    QTest::newRow("site answers an error") << "%1/broken"
                                           << "" << QStringList { "/broken" };
    QTest::newRow("site refuses") << "http://127.0.0.1:" + QString::number(closedPort()) << ""
                                  << QStringList();
    QTest::newRow("no such host") << "http://nowhere.invalid"
                                  << "" << QStringList();
}

void TestMeaningPane::startUpPage()
{
    QFETCH(QString, mainSite);
    QFETCH(QString, shown);
    QFETCH(QStringList, requests);
    m_server.setReply("/missing", "404 Not Found", {}, LocalHttpServer::titledPage("Missing"));
    m_server.setReply(
        "/broken", "500 Internal Server Error", {}, LocalHttpServer::titledPage("Broken"));
    AppConfig config = this->config();
    config.MainSiteAddress = mainSite.arg(m_server.baseUrl());
    FakeServices fakes;
    fakes.connection.online = true;
    Application app(config, fakes.services());
    app.StartApplication();
    frmMain *pane = paneOf(app);
    QList<QUrl> loads;
    connect(pane->webView()->page(), &QWebEnginePage::loadingChanged, this,
        [&](const QWebEngineLoadingInfo &info) { loads << info.url(); });

    const QString expected = shown.isEmpty() ? StartPage : shown.arg(m_server.baseUrl());
    QVERIFY(showing(pane, expected));
    QCOMPARE(pane->webView()->page()->url(), QUrl(expected));
    QVERIFY(pane->webView()->isVisible());
    QVERIFY(!noticeOf(pane)->isVisible());
    QVERIFY(app.state().CurrentTerm.isEmpty());
    // The start page takes the failed site's place: nothing to go back to.
    QCOMPARE(pane->webView()->history()->count(), 1);
    QVERIFY(WebWait::roundTrip(m_server.url("/elsewhere")));
    QCOMPARE(m_server.requests, requests + QStringList { "/elsewhere" });
    // The placeholder is never tried.
    for (const QUrl &load : loads)
        QVERIFY(!load.host().endsWith(".example"));
}

void TestMeaningPane::startUpOfflineShowsTheStartPage()
{
    FakeServices fakes;
    fakes.connection.online = false;
    Application app(config(), fakes.services());
    app.StartApplication();
    frmMain *pane = paneOf(app);
    QCOMPARE(app.state().IsOnline, 0);
    QVERIFY(showing(pane, StartPage));
    QVERIFY(pane->webView()->isVisible());
    QVERIFY(!noticeOf(pane)->isVisible());
    QVERIFY(WebWait::roundTrip(m_server.url("/elsewhere")));
    QCOMPARE(m_server.requests, QStringList { "/elsewhere" });
}

void TestMeaningPane::offlineBundledPagesShowAndWebPagesNeedTheNetwork()
{
    FakeServices fakes;
    fakes.connection.online = false;
    Application app(config(), fakes.services());
    app.StartApplication();
    MDI *window = app.mainWindow();
    frmMain *pane = paneOf(app);
    QVERIFY(showing(pane, StartPage));

    // A keyword whose page needs the network: the notice in its place.
    window->findChild<QLineEdit *>("txtKey")->setText("Snake");
    window->findChild<QAbstractItemView *>("lstKeys")->clearSelection();
    QTest::mouseClick(window->findChild<QPushButton *>("cmdDisplay"), Qt::LeftButton);
    QVERIFY(fakes.prompter.prompts.isEmpty());
    QVERIFY(noticeOf(pane)->isVisible());
    QCOMPARE(noticeOf(pane)->text(), OfflineNotice);
    QVERIFY(!pane->webView()->isVisible());

    // A bundled keyword page shows all the same.
    window->findChild<QLineEdit *>("txtKey")->setText("Owl");
    QTest::mouseClick(window->findChild<QPushButton *>("cmdDisplay"), Qt::LeftButton);
    QVERIFY(showing(pane, "qrc:/dreams/owl.html"));
    QVERIFY(pane->webView()->isVisible());
    QVERIFY(!noticeOf(pane)->isVisible());
    QCOMPARE(pane->webView()->LocationName(), QString("Owl"));

    // A link on a bundled page that leads to the web: the notice again, nothing fetched.
    pane->webView()->page()->runJavaScript(
        QStringLiteral("location.href = %1;").arg("'" + link("moon") + "'"));
    QVERIFY(WebWait::until([&] { return noticeOf(pane)->isVisible(); }));
    QVERIFY(!pane->webView()->isVisible());
    QVERIFY(WebWait::roundTrip(m_server.url("/elsewhere")));
    QCOMPARE(m_server.requests, QStringList { "/elsewhere" });
}

void TestMeaningPane::failedLinkShowsOurErrorPage()
{
    FakeServices fakes;
    fakes.connection.online = true;
    Application app(config(), fakes.services());
    app.StartApplication();
    MDI *window = app.mainWindow();
    frmMain *pane = paneOf(app);
    QVERIFY(showing(pane, m_server.baseUrl() + "/"));

    const QString nowhere = QStringLiteral("http://nowhere.invalid/dreams/nowhere.html");
    window->findChild<QLineEdit *>("txtKey")->setText("Nowhere");
    window->findChild<QAbstractItemView *>("lstKeys")->clearSelection();
    QTest::mouseClick(window->findChild<QPushButton *>("cmdDisplay"), Qt::LeftButton);
    QVERIFY(WebWait::until([&] {
        return pane->webView()->page()->url().path() == QLatin1String("/dreams/error.html")
            && !pane->webView()->page()->isLoading();
    }));
    QCOMPARE(pane->webView()->page()->url().query(QUrl::FullyDecoded).section('&', 1),
        QString("reason=host"));
    QCOMPARE(pane->webView()->LocationURL(), nowhere);
    // The page names the address in its own words.
    QCOMPARE(
        WebWait::evaluate(pane->webView()->page(), "document.getElementById('address').textContent")
            .toString(),
        nowhere);
    QCOMPARE(pane->webView()->history()->count(), 2);

    // Back returns to the page before the failure.
    window->TB_ButtonClick("Back");
    QVERIFY(showing(pane, m_server.baseUrl() + "/"));
}

void TestMeaningPane::onlyOneCountsAsOnline_data()
{
    QTest::addColumn<qint32>("isOnline");
    QTest::newRow("0") << 0;
    QTest::newRow("2") << 2;
    QTest::newRow("-1") << -1;
}

void TestMeaningPane::onlyOneCountsAsOnline()
{
    QFETCH(qint32, isOnline);
    FakeServices fakes;
    AppState state;
    DictionaryCache dictionary;
    const AppConfig config = this->config();
    const Services services = this->services(fakes);
    MDI window(config, services, state, dictionary);
    window.MDIForm_Load();
    window.show();
    state.IsOnline = isOnline;
    state.CurrentTerm = m_server.url("/dreams/sea.html");

    // Treated as offline: the pending web page gives way to the notice.
    window.panes()->showMeaningPane();
    frmMain *pane = window.meaningPane();
    QVERIFY(noticeOf(pane)->isVisible());
    QVERIFY(!pane->webView()->isVisible());
    QVERIFY(state.CurrentTerm.isEmpty());
    QVERIFY(WebWait::roundTrip(m_server.url("/elsewhere")));
    QCOMPARE(pane->webView()->page()->requestedUrl(), QUrl());
    QCOMPARE(m_server.requests, QStringList { "/elsewhere" });
}

void TestMeaningPane::resizeSizesPaneAndView_data()
{
    QTest::addColumn<FrameMetrics>("frame");
    QTest::addColumn<QSize>("pane");
    QTest::addColumn<QSize>("view");
    // 8825 x 9000 twips and a view 6540 high, at 15 twips a pixel.
    QTest::newRow("example") << FrameMetrics { 12000, 9000, 2925, 645, 525, 540 } << QSize(588, 600)
                             << QSize(588, 436);
    // Negative results are refused one by one: the width and the view's height stay.
    QTest::newRow("tiny window") << FrameMetrics { 1500, 1500, 2925, 645, 525, 540 }
                                 << QSize(531, 100) << QSize(531, 267);
}

void TestMeaningPane::resizeSizesPaneAndView()
{
    QFETCH(FrameMetrics, frame);
    AppState state;
    const AppConfig config = this->config();
    frmMain pane(*m_profile, config, state);
    // The design sizes: pane 7965 x 6420 twips, view 4995 x 4005.
    QCOMPARE(pane.size(), QSize(531, 428));
    QCOMPARE(pane.webView()->size(), QSize(333, 267));
    pane.Form_Resize(PaneLayout::meaningPane(frame).geometry());
    QTEST(pane.size(), "pane");
    QTEST(pane.webView()->size(), "view");
    QCOMPARE(pane.webView()->pos(), QPoint(0, 0));
}

QTEST_MAIN(TestMeaningPane)
#include "tst_meaningpane.moc"
