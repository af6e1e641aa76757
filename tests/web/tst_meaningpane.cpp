#include "Application.h"
#include "DictionaryCache.h"
#include "Fakes.h"
#include "KeywordListModel.h"
#include "KeywordListView.h"
#include "LocalHttpServer.h"
#include "LookupController.h"
#include "MDI.h"
#include "PaneLayout.h"
#include "TestDictionary.h"
#include "WebPage.h"
#include "WebProfile.h"
#include "WebView.h"
#include "WebWait.h"
#include "frmMain.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QtTest>

Q_DECLARE_METATYPE(FrameMetrics)

namespace {

const QString OfflineNotice
    = QStringLiteral("You must be connected to the internet in order to use this software.");
const QString StartPage = QStringLiteral("qrc:/dreams/index.html");

} // namespace

class TestMeaningPane : public QObject
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void initTestCase();
    void init();

    void startUpOnlineOpensTheMainSite();
    void startUpPage_data();
    void startUpPage();
    void startUpOfflineShowsTheStartPage();
    void offlineBundledPagesShowAndWebPagesNeedTheNetwork();
    void failedLinkShowsOurErrorPage();
    void displayOpensTheKeywordsLink_data();
    void displayOpensTheKeywordsLink();
    void loadOpensThePendingTerm_data();
    void loadOpensThePendingTerm();
    void onlyOneCountsAsOnline_data();
    void onlyOneCountsAsOnline();
    void resizeSizesPaneAndView_data();
    void resizeSizesPaneAndView();

private:
    AppConfig config() const
    {
        AppConfig config = AppConfig::builtIn(m_folder->path(), "somnilex");
        config.MainSiteAddress = m_server.baseUrl();
        config.SearchEngineAddress = m_server.baseUrl();
        return config;
    }
    QString link(const QString &key) const
    {
        return m_server.url("/dreams/" + key.toLower() + ".html");
    }
    // Waits until the pane shows address and nothing more is loading.
    // The pane has shown address: its last finished document, done loading. Only the view's
    // own signal tells a finished load from one asked for but not yet begun, or one whose end
    // is still on its way; so the documents are watched from the moment the pane exists.
    bool showing(frmMain *pane, const QString &address)
    {
        if (!m_documents || m_watched != pane->WB)
            return false;
        return WebWait::until(
            [&] {
                return !m_documents->isEmpty()
                    && QUrl(m_documents->last().first().toString()) == QUrl(address)
                    && QUrl(pane->WB->LocationURL()) == QUrl(address)
                    && !pane->WB->page()->isLoading();
            },
            WebWait::Timeout);
    }

    // Services for a main window built by the test itself, with the web profile.
    Services services(FakeServices &fakes)
    {
        Services services = fakes.services();
        services.web = m_profile.get();
        return services;
    }
    // Call before the event loop runs again after the pane is made, so no document is missed.
    frmMain *watch(frmMain *pane)
    {
        m_documents = std::make_unique<QSignalSpy>(pane->WB, &WebView::DocumentComplete);
        m_watched = pane->WB;
        return pane;
    }
    frmMain *paneOf(Application &app) { return watch(app.mainWindow()->meaningPane()); }

    LocalHttpServer m_server;
    std::unique_ptr<QSignalSpy> m_documents;
    const WebView *m_watched = nullptr; // what m_documents listens to
    std::unique_ptr<TestFolder> m_folder;
    std::unique_ptr<WebProfile> m_profile;
};

void TestMeaningPane::initTestCase()
{
    QVERIFY(m_server.start());
    m_folder = std::make_unique<TestFolder>();
    m_folder->writeDictionary({ { "Snake", link("snake"), "" }, { "Moon", link("moon"), "" },
        { "Owl", "qrc:/dreams/owl.html", "" },
        { "Nowhere", "http://nowhere.invalid/dreams/nowhere.html", "" } });
    m_profile = std::make_unique<WebProfile>();
}

void TestMeaningPane::init()
{
    m_documents.reset();
    m_server.requests.clear();
}

void TestMeaningPane::startUpOnlineOpensTheMainSite()
{
    FakeServices fakes;
    fakes.connection.online = true;
    Application app(config(), fakes.services());
    app.StartApplication();
    QCOMPARE(app.state().IsOnline, 1);
    frmMain *pane = paneOf(app);
    QVERIFY(pane);
    QVERIFY(pane->WB->isVisible());
    QVERIFY(!pane->lblCaption->isVisible());
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
    connect(pane->WB->page(), &QWebEnginePage::loadingChanged, this,
        [&](const QWebEngineLoadingInfo &info) { loads << info.url(); });

    const QString expected = shown.isEmpty() ? StartPage : shown.arg(m_server.baseUrl());
    QVERIFY(showing(pane, expected));
    QCOMPARE(pane->WB->page()->url(), QUrl(expected));
    QVERIFY(pane->WB->isVisible());
    QVERIFY(!pane->lblCaption->isVisible());
    QVERIFY(app.state().CurrentTerm.isEmpty());
    // The start page takes the failed site's place: nothing to go back to.
    QCOMPARE(pane->WB->history()->count(), 1);
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
    QVERIFY(pane->WB->isVisible());
    QVERIFY(!pane->lblCaption->isVisible());
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
    QVERIFY(pane->lblCaption->isVisible());
    QCOMPARE(pane->lblCaption->text(), OfflineNotice);
    QVERIFY(!pane->WB->isVisible());

    // A bundled keyword page shows all the same.
    window->findChild<QLineEdit *>("txtKey")->setText("Owl");
    QTest::mouseClick(window->findChild<QPushButton *>("cmdDisplay"), Qt::LeftButton);
    QVERIFY(showing(pane, "qrc:/dreams/owl.html"));
    QVERIFY(pane->WB->isVisible());
    QVERIFY(!pane->lblCaption->isVisible());
    QCOMPARE(pane->WB->LocationName(), QString("Owl"));

    // A link on a bundled page that leads to the web: the notice again, nothing fetched.
    pane->WB->page()->runJavaScript(
        QStringLiteral("location.href = %1;").arg("'" + link("moon") + "'"));
    QVERIFY(WebWait::until([&] { return pane->lblCaption->isVisible(); }));
    QVERIFY(!pane->WB->isVisible());
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
        return pane->WB->page()->url().path() == QLatin1String("/dreams/error.html")
            && !pane->WB->page()->isLoading();
    }));
    QCOMPARE(
        pane->WB->page()->url().query(QUrl::FullyDecoded).section('&', 1), QString("reason=host"));
    QCOMPARE(pane->WB->LocationURL(), nowhere);
    // The page names the address in its own words.
    QCOMPARE(WebWait::evaluate(pane->WB->page(), "document.getElementById('address').textContent")
                 .toString(),
        nowhere);
    QCOMPARE(pane->WB->history()->count(), 2);

    // Back returns to the page before the failure.
    window->TB_ButtonClick("Back");
    QVERIFY(showing(pane, m_server.baseUrl() + "/"));
}

void TestMeaningPane::displayOpensTheKeywordsLink_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("Display button") << false;
    QTest::newRow("double-click") << true;
}

void TestMeaningPane::displayOpensTheKeywordsLink()
{
    QFETCH(bool, doubleClick);
    FakeServices fakes;
    fakes.connection.online = true;
    Application app(config(), fakes.services());
    app.StartApplication();
    MDI *window = app.mainWindow();
    frmMain *pane = paneOf(app);
    QVERIFY(showing(pane, m_server.baseUrl() + "/"));

    QSignalSpy documents(pane->WB, &WebView::DocumentComplete);
    const QPoint moon
        = window->findChild<KeywordListView *>("lstKeys")
              ->visualRect(window->findChild<KeywordListModel *>("keywords")->index(1, 0))
              .center();
    QTest::mouseClick(
        window->findChild<KeywordListView *>("lstKeys")->viewport(), Qt::LeftButton, {}, moon);
    QCOMPARE(window->findChild<QLineEdit *>("txtKey")->text(), QString("Moon"));
    if (doubleClick)
        QTest::mouseDClick(
            window->findChild<KeywordListView *>("lstKeys")->viewport(), Qt::LeftButton, {}, moon);
    else
        QTest::mouseClick(window->findChild<QPushButton *>("cmdDisplay"), Qt::LeftButton);
    QVERIFY(fakes.prompter.prompts.isEmpty());
    QCOMPARE(app.state().CurrentTerm, link("moon"));
    QVERIFY(WebWait::documents(documents));
    QCOMPARE(documents.first().first().toString(), link("moon"));
    QCOMPARE(m_server.requests, QStringList({ "/", "/dreams/moon.html" }));
    QCOMPARE(window->findChild<QMdiArea *>("mdiArea")->currentSubWindow()->widget(), pane);
}

void TestMeaningPane::loadOpensThePendingTerm_data()
{
    // In both texts %1 stands for the server's address.
    QTest::addColumn<QString>("currentTerm");
    QTest::addColumn<QString>("searchBox");
    QTest::addColumn<QString>("expectedRequest");
    QTest::newRow("nothing pending: main site") << ""
                                                << "%1/typed"
                                                << "/";
    QTest::newRow("pending address") << "%1/dreams/sea.html"
                                     << "%1/typed"
                                     << "/dreams/sea.html";
    QTest::newRow("search engine: the box") << "%1"
                                            << "%1/typed"
                                            << "/typed";
    QTest::newRow("search engine: the box, trimmed") << "%1"
                                                     << "   %1/typed   "
                                                     << "/typed";
    QTest::newRow("search engine: inner spaces kept") << "%1"
                                                      << " %1/two words "
                                                      << "/two%20words";
}

void TestMeaningPane::loadOpensThePendingTerm()
{
    QFETCH(QString, currentTerm);
    QFETCH(QString, searchBox);
    QFETCH(QString, expectedRequest);
    FakeServices fakes;
    fakes.connection.online = true;
    AppState state;
    DictionaryCache dictionary;
    const AppConfig config = this->config();
    const Services services = this->services(fakes);
    MDI window(config, services, state, dictionary);
    window.MDIForm_Load();
    window.show();
    state.CurrentTerm = currentTerm.arg(m_server.baseUrl());
    window.findChild<QLineEdit *>("txtKey")->setText(searchBox.arg(m_server.baseUrl()));

    window.showMeaningPane();
    watch(window.meaningPane());
    QVERIFY(state.CurrentTerm.isEmpty());
    QVERIFY(showing(window.meaningPane(), m_server.url(expectedRequest)));
    QCOMPARE(m_server.requests, QStringList { expectedRequest });
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
    QVERIFY(pane->lblCaption->isVisible());
    QVERIFY(!pane->WB->isVisible());
    QVERIFY(state.CurrentTerm.isEmpty());
    QVERIFY(WebWait::roundTrip(m_server.url("/elsewhere")));
    QCOMPARE(pane->WB->page()->requestedUrl(), QUrl());
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
    QCOMPARE(pane.WB->size(), QSize(333, 267));
    pane.Form_Resize(PaneLayout::meaningPane(frame).geometry());
    QTEST(pane.size(), "pane");
    QTEST(pane.WB->size(), "view");
    QCOMPARE(pane.WB->pos(), QPoint(0, 0));
}

QTEST_MAIN(TestMeaningPane)
#include "tst_meaningpane.moc"
