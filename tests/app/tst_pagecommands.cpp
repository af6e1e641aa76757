#include "BundledPages.h"
#include "PageCommands.h"
#include "PageZoom.h"
#include "RiverPageTestBase.h"
#include "SettingsCodec.h"
#include "WebPage.h"

#include <QMenu>
#include <QPrinter>
#include <QTemporaryDir>

// The page commands on the page in front: zoom, print, quit, the start page and the context
// menu. Finding in the page is tested in tst_findinpage.
class TestPageCommands : public RiverPageTestBase
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void initTestCase() { startServer(); }
    void init() { openRiverWindow(); }
    void cleanup() { tearDownFixture(); }
    void zoomKeys_data();
    void zoomKeys();
    void zoomIsRestoredAtStart();
    void printWritesThePage();
    void quitKeyExits();
    void helpKeyOpensTheStartPage();
    void contextMenuHasNoIdleEntries_data();
    void contextMenuHasNoIdleEntries();
};

void TestPageCommands::zoomKeys_data()
{
    QTest::addColumn<QList<QKeyCombination>>("keys");
    QTest::addColumn<int>("percent");
    QTest::newRow("ctrl plus") << QList<QKeyCombination> { Qt::CTRL | Qt::Key_Plus } << 110;
    QTest::newRow("ctrl equals") << QList<QKeyCombination> { Qt::CTRL | Qt::Key_Equal } << 110;
    QTest::newRow("ctrl minus") << QList<QKeyCombination> { Qt::CTRL | Qt::Key_Minus } << 90;
    QTest::newRow("twice in") << QList<QKeyCombination> { Qt::CTRL | Qt::Key_Plus,
        Qt::CTRL | Qt::Key_Plus }
                              << 125;
    QTest::newRow("in then reset")
        << QList<QKeyCombination> { Qt::CTRL | Qt::Key_Plus, Qt::CTRL | Qt::Key_0 } << 100;
    QList<QKeyCombination> pastTheEnd(20, Qt::CTRL | Qt::Key_Minus);
    QTest::newRow("out past the smallest") << pastTheEnd << 25;
}

void TestPageCommands::zoomKeys()
{
    QFETCH(QList<QKeyCombination>, keys);
    QFETCH(int, percent);
    WebView *view = showRiverPage(false);
    QVERIFY(view);
    for (QKeyCombination key : keys)
        press(key);

    QCOMPARE(qRound(view->zoomFactor() * 100), percent);
    // The level holds for the next page, and the page lays itself out at it.
    QCOMPARE(WebWait::navigate(*view, m_server.url(QStringLiteral("/custom?again"))),
        m_server.url(QStringLiteral("/custom?again")));
    const QVariant ratio
        = WebWait::evaluate(view->page(), QStringLiteral("window.devicePixelRatio"));
    QCOMPARE(qRound(ratio.toDouble() * 100), percent);
}

void TestPageCommands::zoomIsRestoredAtStart()
{
    press(Qt::CTRL | Qt::Key_Plus);
    press(Qt::CTRL | Qt::Key_Plus);
    QCOMPARE(m_window->pageZoom()->percent(), 125);
    // The store holds it only in its encoded form.
    QCOMPARE(m_fakes->settings.values.value(
                 "somnilex/Settings/" + EncodeSetting(QStringLiteral("Zoom"))),
        EncodeSetting(QStringLiteral("125")));

    m_window.reset();
    openMainWindow();
    WebView *view = showRiverPage(false);
    QVERIFY(view);
    QCOMPARE(qRound(view->zoomFactor() * 100), 125);
    // So does a web search opened afterwards.
    WebView *search = showRiverPage(true);
    QVERIFY(search);
    QCOMPARE(qRound(search->zoomFactor() * 100), 125);
}

void TestPageCommands::printWritesThePage()
{
    QVERIFY(showRiverPage(false));
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("river.pdf"));
    // In place of the system's dialog: the user chose a PDF file.
    int asked = 0;
    m_window->pageCommands()->setPrintSetup([&](QPrinter &printer, QWidget *window) {
        ++asked;
        [&] { QCOMPARE(window, m_window.get()); }();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    QSignalSpy finished(m_window->pageCommands(), &PageCommands::printFinished);
    press(Qt::CTRL | Qt::Key_P);
    QCOMPARE(asked, 1);
    QVERIFY(WebWait::until([&] { return !finished.isEmpty(); }, 60000));
    QCOMPARE(finished.first().first().toBool(), true);
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5).startsWith("%PDF-"));
}

void TestPageCommands::quitKeyExits()
{
    QSignalSpy unloaded(m_window.get(), &MDI::MDIForm_Unload);
    press(Qt::CTRL | Qt::Key_Q);
    QCOMPARE(unloaded.size(), 1);
    QVERIFY(!m_window->isVisible());
}

void TestPageCommands::helpKeyOpensTheStartPage()
{
    // From a web search in front: the meaning pane comes to the front with the start page.
    QVERIFY(showRiverPage(true));
    QSignalSpy loaded(m_window->meaningPane()->webView(), &WebView::DocumentComplete);
    press(Qt::Key_F1);
    QVERIFY(WebWait::until([&] {
        return loaded.size() > 0
            && loaded.last().first().toString() == BundledPages::startPage().toString();
    }));
    QCOMPARE(m_window->panes()->currentPage(), m_window->meaningPane()->webView());
}

void TestPageCommands::contextMenuHasNoIdleEntries_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<QList<int>>("kept");
    QTest::newRow("on the page") << "text"
                                 << QList<int> { QWebEnginePage::Back, QWebEnginePage::Reload };
    QTest::newRow("on a link") << "link" << QList<int> { QWebEnginePage::CopyLinkToClipboard };
}

void TestPageCommands::contextMenuHasNoIdleEntries()
{
    QFETCH(QString, element);
    QFETCH(QList<int>, kept);
    WebView *view = showRiverPage(false);
    QVERIFY(view);
    const QVariantList box = WebWait::evaluate(view->page(),
        QStringLiteral("(function(){var r=document.getElementById('%1')"
                       ".getBoundingClientRect();return [r.left+8,r.top+r.height/2];})()")
            .arg(element))
                                 .toList();
    QCOMPARE(box.size(), 2);
    const QPoint at(qRound(box[0].toDouble()), qRound(box[1].toDouble()));
    QTest::mouseClick(view->focusProxy(), Qt::RightButton, {}, at);
    QMenu *menu = nullptr;
    QVERIFY(WebWait::until([&] {
        menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        return menu != nullptr;
    }));
    const QList<QAction *> entries = menu->actions();
    for (int action : kept)
        QVERIFY(entries.contains(view->page()->action(QWebEnginePage::WebAction(action))));
    for (QWebEnginePage::WebAction idle : { QWebEnginePage::SavePage, QWebEnginePage::ViewSource,
             QWebEnginePage::InspectElement, QWebEnginePage::OpenLinkInNewWindow,
             QWebEnginePage::OpenLinkInNewTab, QWebEnginePage::DownloadLinkToDisk })
        QVERIFY2(!entries.contains(view->page()->action(idle)), qPrintable(QString::number(idle)));
    QVERIFY(!entries.first()->isSeparator());
    QVERIFY(!entries.last()->isSeparator());
    menu->close();
}

QTEST_MAIN(TestPageCommands)
#include "tst_pagecommands.moc"
