#include "LinkLabel.h"
#include "LocalHttpServer.h"
#include "MDI.h"
#include "RealDesktop.h"
#include "RunningProgram.h"
#include "WebView.h"
#include "WebWait.h"
#include "frmAbout.h"
#include "frmMain.h"

#include <QAction>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

namespace {

constexpr int WindowManagerTimeout = 10000;

const QByteArray HomePage = "<!DOCTYPE html><html><head><title>Somnilex home</title></head>"
                            "<body style=\"font-family: sans-serif\"><h1>Somnilex</h1>"
                            "<p>New dream symbols every week.</p></body></html>";

// Returns once the window manager has handled every request made before the call: it handles
// them in order, so a window mapped now shows in its list only after all of them.
bool windowManagerCaughtUp()
{
    QWidget sentinel(nullptr, Qt::Tool);
    sentinel.resize(10, 10);
    sentinel.show();
    const WId id = RealDesktop::idOf(&sentinel);
    return QTest::qWaitFor(
        [id] { return RealDesktop::stacking().contains(id); }, WindowManagerTimeout);
}

} // namespace

class TestRealMainWindow : public QObject
{
    Q_OBJECT
public:
    static void initMain() { RealDesktop::prepareMain(); }

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void opensMaximisedOnceThePageHasLoaded();
    void staysMaximisedWhenAnOfflineLookupShowsABundledPage();
    void minimiseAndRestoreKeepTheLayout();
    void linkLabelReactsAcrossItsRectangle_data();
    void linkLabelReactsAcrossItsRectangle();
    void aboutBoxStaysAboveTheMainWindow();

private:
    // Starts the program online and waits until the meaning pane has loaded the home page and
    // the window manager shows the window maximised.
    void startAndLoad();
    // Runs the about box from Help > About Software and calls whileOpen once the window
    // manager shows it on top; closes it afterwards.
    void withAboutBox(const std::function<void(frmAbout *)> &whileOpen);

    LocalHttpServer m_server;
    std::unique_ptr<RunningProgram> m_program;
};

void TestRealMainWindow::initTestCase()
{
    const QString missing = RealDesktop::whatIsMissing();
    if (!missing.isEmpty())
        QSKIP(qPrintable(missing));
    QVERIFY(m_server.start());
    m_server.setPage(QStringLiteral("/"), HomePage);
}

void TestRealMainWindow::init()
{
    m_program = std::make_unique<RunningProgram>(true, m_server.baseUrl());
}

void TestRealMainWindow::cleanup()
{
    m_program.reset();
}

void TestRealMainWindow::startAndLoad()
{
    QCOMPARE(m_program->startAndLoad(), m_server.baseUrl() + "/");
    QTRY_VERIFY_WITH_TIMEOUT(
        RealDesktop::isMaximised(RealDesktop::idOf(m_program->mainWindow())), WindowManagerTimeout);
}

void TestRealMainWindow::opensMaximisedOnceThePageHasLoaded()
{
    startAndLoad();
    MDI *window = m_program->mainWindow();
    QVERIFY(window->windowState().testFlag(Qt::WindowMaximized));
    const QRect available = window->screen()->availableGeometry();
    QTRY_COMPARE_WITH_TIMEOUT(window->frameGeometry(), available, WindowManagerTimeout);
    // The page is drawn in the window, not only loaded.
    WebView *page = window->meaningPane()->webView();
    QVERIFY(page->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(RealDesktop::showsSomething(page), WindowManagerTimeout);
    RealDesktop::saveScreen(QStringLiteral("maximised"));
}

void TestRealMainWindow::staysMaximisedWhenAnOfflineLookupShowsABundledPage()
{
    m_program = std::make_unique<RunningProgram>(false, m_server.baseUrl());
    m_program->start();
    MDI *window = m_program->mainWindow();
    const WId id = RealDesktop::idOf(window);
    QTRY_VERIFY_WITH_TIMEOUT(RealDesktop::isMaximised(id), WindowManagerTimeout);

    // Offline the pane starts on the notice; a keyword whose page is bundled shows in the view.
    QSignalSpy loaded(window->meaningPane()->webView(), &WebView::DocumentComplete);
    window->findChild<QLineEdit *>("txtKey")->setText(QStringLiteral("Snake"));
    QTest::mouseClick(window->findChild<QPushButton *>("cmdDisplay"), Qt::LeftButton);
    QVERIFY(WebWait::until([&] {
        return !loaded.isEmpty()
            && loaded.last().first().toString() == QLatin1String("qrc:/dreams/snake.html");
    }));
    QVERIFY(window->meaningPane()->webView()->isVisible());
    QVERIFY(windowManagerCaughtUp());
    // The view may have had the native window made anew; whichever it is, it is maximised.
    QVERIFY(RealDesktop::isMaximised(RealDesktop::idOf(window)));
    QVERIFY(window->windowState().testFlag(Qt::WindowMaximized));
}

void TestRealMainWindow::minimiseAndRestoreKeepTheLayout()
{
    startAndLoad();
    MDI *window = m_program->mainWindow();
    const WId id = RealDesktop::idOf(window);
    window->showNormal();
    QTRY_VERIFY_WITH_TIMEOUT(!RealDesktop::isMaximised(id), WindowManagerTimeout);
    window->resize(960, 760);
    QTRY_COMPARE_WITH_TIMEOUT(window->size(), QSize(960, 760), WindowManagerTimeout);
    const MainLayout before = window->currentLayout();
    const QSize paneBefore = window->meaningPane()->size();

    window->showMinimized();
    QTRY_VERIFY_WITH_TIMEOUT(RealDesktop::isMinimised(id), WindowManagerTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(window->isMinimized(), WindowManagerTimeout);

    window->showNormal();
    QTRY_VERIFY_WITH_TIMEOUT(!RealDesktop::isMinimised(id), WindowManagerTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(!window->isMinimized(), WindowManagerTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(window->size(), QSize(960, 760), WindowManagerTimeout);
    const MainLayout after = window->currentLayout();
    QCOMPARE(after.txtKey, before.txtKey);
    QCOMPARE(after.lstKeys, before.lstKeys);
    QCOMPARE(after.cmdSearch, before.cmdSearch);
    QCOMPARE(after.cmdDisplay, before.cmdDisplay);
    QCOMPARE(after.cmdDonate, before.cmdDonate);
    QCOMPARE(after.cmdExit, before.cmdExit);
    QCOMPARE(window->meaningPane()->size(), paneBefore);
}

void TestRealMainWindow::withAboutBox(const std::function<void(frmAbout *)> &whileOpen)
{
    MDI *window = m_program->mainWindow();
    bool ran = false;
    QTimer::singleShot(0, window, [&] {
        QPointer<frmAbout> box = window->findChild<frmAbout *>();
        if (!box)
            return;
        const WId id = RealDesktop::idOf(box);
        if (QTest::qWaitFor([&] { return RealDesktop::topmost() == id; }, WindowManagerTimeout)) {
            ran = true;
            whileOpen(box);
        }
        if (box)
            box->reject();
    });
    window->findChild<QAction *>("mnuAbout")->trigger();
    QVERIFY2(ran, "the about box never came on top");
}

void TestRealMainWindow::linkLabelReactsAcrossItsRectangle_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("farRight"); // or far left
    QTest::addColumn<QString>("opened");

    const QString home = QStringLiteral("{main}"); // the local server's address
    const QString help = AppConfig::builtIn(QString(), QString()).HelpSiteAddress;
    const struct
    {
        const char *label;
        QString opened;
    } labels[] = {
        { "lblCoBrand", help + "/co-brand.html" },
        { "lblFullBrand", help + "/fully-branded.html" },
        { "Label61", home },
        { "Label4", home },
        { "about lblHomePage", home },
        { "about lblCoBrand", help + "/fully-branded.html" },
    };
    for (const auto &row : labels) {
        QTest::addRow("%s, far right", row.label) << row.label << true << row.opened;
        QTest::addRow("%s, far left", row.label) << row.label << false << row.opened;
    }
}

void TestRealMainWindow::linkLabelReactsAcrossItsRectangle()
{
    QFETCH(QString, label);
    QFETCH(bool, farRight);
    QFETCH(QString, opened);
    startAndLoad();
    MDI *window = m_program->mainWindow();
    const QStringList expected { QString(opened).replace("{main}", m_server.baseUrl()) };

    auto click = [&](LinkLabel *link) {
        QVERIFY(link->isVisible());
        const QRect rect = link->rect();
        const QPoint point(farRight ? rect.right() - 1 : rect.left() + 1, rect.center().y());
        QCOMPARE(link->window()->childAt(link->mapTo(link->window(), point)), link);
        RealDesktop::clickThroughWindow(link, point);
    };

    if (label.startsWith("about ")) {
        const QString name = label.mid(6);
        withAboutBox([&](frmAbout *box) {
            click(name == "lblHomePage" ? box->findChild<LinkLabel *>("lblHomePage")
                                        : box->findChild<LinkLabel *>("lblCoBrand"));
        });
    } else {
        const QMap<QString, LinkLabel *> labels = {
            { "lblCoBrand", window->findChild<LinkLabel *>("lblCoBrand") },
            { "lblFullBrand", window->findChild<LinkLabel *>("lblFullBrand") },
            { "Label61", window->findChild<LinkLabel *>("Label61") },
            { "Label4", window->findChild<LinkLabel *>("Label4") },
        };
        LinkLabel *link = labels.value(label);
        // lblFullBrand lies hidden under lblCoBrand, as designed; bring it up to click it.
        if (link == window->findChild<LinkLabel *>("lblFullBrand")) {
            link->show();
            link->raise();
        }
        click(link);
    }
    QCOMPARE(m_program->fakes.links.opened, expected);
}

void TestRealMainWindow::aboutBoxStaysAboveTheMainWindow()
{
    startAndLoad();
    MDI *window = m_program->mainWindow();
    const WId main = RealDesktop::idOf(window);
    withAboutBox([&](frmAbout *box) {
        const WId about = RealDesktop::idOf(box);
        QTRY_COMPARE_WITH_TIMEOUT(RealDesktop::activeWindow(), about, WindowManagerTimeout);
        QVERIFY(RealDesktop::isAbove(about, main));

        // The user clicks the main window's title bar.
        const QRect frame = window->frameGeometry();
        const QPoint titleBar(frame.left() + frame.width() / 4,
            frame.top() + (window->geometry().top() - frame.top()) / 2);
        QVERIFY(QProcess::execute("xdotool",
                    { "mousemove", QString::number(titleBar.x()), QString::number(titleBar.y()),
                        "click", "1" })
            == 0);
        QVERIFY(windowManagerCaughtUp());
        QVERIFY(RealDesktop::isAbove(about, main));
        QVERIFY(box->isVisible());
    });
}

QTEST_MAIN(TestRealMainWindow)
#include "tst_mainwindow_e2e.moc"
