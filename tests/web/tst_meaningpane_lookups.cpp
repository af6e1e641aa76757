// What a lookup opens in the meaning pane: the keyword's link on Display, and the pending term
// when the pane loads.
#include "MeaningPaneFixture.h"

using namespace MeaningPaneTexts;

class TestMeaningPaneLookups : public QObject, private MeaningPaneFixture
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void initTestCase() { startServer(); }
    void init() { forgetDocuments(); }
    void displayOpensTheKeywordsLink_data();
    void displayOpensTheKeywordsLink();
    void loadOpensThePendingTerm_data();
    void loadOpensThePendingTerm();
};

void TestMeaningPaneLookups::displayOpensTheKeywordsLink_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("Display button") << false;
    QTest::newRow("double-click") << true;
}

void TestMeaningPaneLookups::displayOpensTheKeywordsLink()
{
    QFETCH(bool, doubleClick);
    FakeServices fakes;
    fakes.connection.online = true;
    Application app(config(), fakes.services());
    app.StartApplication();
    MDI *window = app.mainWindow();
    frmMain *pane = paneOf(app);
    QVERIFY(showing(pane, m_server.baseUrl() + "/"));

    QSignalSpy documents(pane->webView(), &WebView::DocumentComplete);
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

void TestMeaningPaneLookups::loadOpensThePendingTerm_data()
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

void TestMeaningPaneLookups::loadOpensThePendingTerm()
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

QTEST_MAIN(TestMeaningPaneLookups)
#include "tst_meaningpane_lookups.moc"
