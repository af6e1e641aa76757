#include "Application.h"
#include "DictionaryCache.h"
#include "Fakes.h"
#include "KeywordListModel.h"
#include "KeywordListView.h"
#include "LocalHttpServer.h"
#include "LookupController.h"
#include "MDI.h"
#include "TestDictionary.h"
#include "WebProfile.h"
#include "WebView.h"
#include "WebWait.h"
#include "frmMain.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(FrameMetrics)

namespace {

const QString OfflineNotice
    = QStringLiteral("You must be connected to the internet in order to use this software.");

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
    void startUpOfflineShowsOnlyTheNotice();
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
    static bool showing(frmMain *pane, const QString &address)
    {
        return WebWait::until(
            [&] {
                return QUrl(pane->WB->LocationURL()) == QUrl(address)
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

    LocalHttpServer m_server;
    std::unique_ptr<TestFolder> m_folder;
    std::unique_ptr<WebProfile> m_profile;
};

void TestMeaningPane::initTestCase()
{
    QVERIFY(m_server.start());
    m_folder = std::make_unique<TestFolder>();
    m_folder->writeDictionary({ { "Snake", link("snake"), "" }, { "Moon", link("moon"), "" } });
    m_profile = std::make_unique<WebProfile>();
}

void TestMeaningPane::init()
{
    m_server.requests.clear();
}

void TestMeaningPane::startUpOnlineOpensTheMainSite()
{
    FakeServices fakes;
    fakes.connection.online = true;
    Application app(config(), fakes.services());
    app.StartApplication();
    QCOMPARE(app.state().IsOnline, 1);
    frmMain *pane = app.mainWindow()->meaningPane();
    QVERIFY(pane);
    QVERIFY(pane->WB->isVisible());
    QVERIFY(!pane->lblCaption->isVisible());
    QVERIFY(app.state().CurrentTerm.isEmpty());

    QVERIFY(showing(pane, m_server.baseUrl() + "/"));
    QCOMPARE(m_server.requests, QStringList { "/" });
    QVERIFY(app.state().CurrentTerm.isEmpty());
}

void TestMeaningPane::startUpOfflineShowsOnlyTheNotice()
{
    FakeServices fakes;
    fakes.connection.online = false;
    Application app(config(), fakes.services());
    app.StartApplication();
    MDI *window = app.mainWindow();
    frmMain *pane = window->meaningPane();
    QVERIFY(pane);
    QCOMPARE(app.state().IsOnline, 0);
    QVERIFY(pane->lblCaption->isVisible());
    QCOMPARE(pane->lblCaption->text(), OfflineNotice);
    QVERIFY(!pane->WB->isVisible());
    // A navigation shows in the requested address once asked for, however it was queued.
    QVERIFY(WebWait::roundTrip(m_server.url("/elsewhere")));
    QCOMPARE(pane->WB->page()->requestedUrl(), QUrl());
    QCOMPARE(m_server.requests, QStringList { "/elsewhere" });

    // A later display goes to the hidden view: the user still sees only the notice.
    window->findChild<QLineEdit *>("txtKey")->setText("Snake");
    QTest::mouseClick(window->findChild<QPushButton *>("cmdDisplay"), Qt::LeftButton);
    QVERIFY(fakes.prompter.prompts.isEmpty());
    QVERIFY(pane->lblCaption->isVisible());
    QVERIFY(!pane->WB->isVisible());
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
    frmMain *pane = window->meaningPane();
    QVERIFY(showing(pane, m_server.baseUrl() + "/"));

    QSignalSpy documents(pane->WB, &WebView::DocumentComplete);
    const QPoint moon = window->findChild<KeywordListView *>("lstKeys")->visualRect(window->findChild<KeywordListModel *>("keywords")->index(1, 0)).center();
    QTest::mouseClick(window->findChild<KeywordListView *>("lstKeys")->viewport(), Qt::LeftButton, {}, moon);
    QCOMPARE(window->findChild<QLineEdit *>("txtKey")->text(), QString("Moon"));
    if (doubleClick)
        QTest::mouseDClick(window->findChild<KeywordListView *>("lstKeys")->viewport(), Qt::LeftButton, {}, moon);
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

    window.panes()->showMeaningPane();
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
    const QString pending = m_server.url("/dreams/sea.html");
    state.CurrentTerm = pending;

    window.panes()->showMeaningPane();
    frmMain *pane = window.meaningPane();
    QVERIFY(pane->lblCaption->isVisible());
    QVERIFY(!pane->WB->isVisible());
    QCOMPARE(state.CurrentTerm, pending);
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
    frmMain pane(*m_profile, config, state, [] { return QString(); });
    // The design sizes: pane 7965 x 6420 twips, view 4995 x 4005.
    QCOMPARE(pane.size(), QSize(531, 428));
    QCOMPARE(pane.WB->size(), QSize(333, 267));
    pane.Form_Resize(frame);
    QTEST(pane.size(), "pane");
    QTEST(pane.WB->size(), "view");
    QCOMPARE(pane.WB->pos(), QPoint(0, 0));
}

QTEST_MAIN(TestMeaningPane)
#include "tst_meaningpane.moc"
