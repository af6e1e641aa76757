#include "Application.h"
#include "LocalHttpServer.h"
#include "MDI.h"
#include "RealDesktop.h"
#include "RunningProgram.h"
#include "WebView.h"
#include "WebWait.h"
#include "frmExitScreen.h"
#include "frmMain.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

constexpr int WindowManagerTimeout = 10000;

const QByteArray HomePage = "<!DOCTYPE html><html><head><title>Somnilex home</title></head>"
                            "<body><h1>Somnilex</h1><p><a href=\"/a\">one</a> <a href=\"/b\">two"
                            "</a> <a href=\"/c\">three</a></p></body></html>";

} // namespace

// The main window and the exit screen used with the keyboard alone, keys sent to the windows as
// the window system sends them.
class TestKeyboard : public QObject
{
    Q_OBJECT
public:
    static void initMain() { RealDesktop::prepareMain(); }

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void focusStartsInTheSearchBox();
    void arrowsChooseAndDisplayShowsTheKeyword_data();
    void arrowsChooseAndDisplayShowsTheKeyword();
    void tabLeavesThePageInOnePress_data();
    void tabLeavesThePageInOnePress();
    void escapeLeavesTheExitScreen();

private:
    void startAndLoad();
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    template <typename T> T *control(const char *name)
    {
        return m_program->mainWindow()->findChild<T *>(QLatin1String(name));
    }

    LocalHttpServer m_server;
    std::unique_ptr<RunningProgram> m_program;
};

void TestKeyboard::initTestCase()
{
    const QString missing = RealDesktop::whatIsMissing();
    if (!missing.isEmpty())
        QSKIP(qPrintable(missing));
    QVERIFY(m_server.start());
    m_server.setPage(QStringLiteral("/"), HomePage);
}

void TestKeyboard::init()
{
    m_program = std::make_unique<RunningProgram>(true, m_server.baseUrl());
}

void TestKeyboard::cleanup()
{
    m_program.reset();
}

void TestKeyboard::startAndLoad()
{
    QVERIFY(!m_program->startAndLoad().isEmpty());
    QVERIFY(QTest::qWaitForWindowActive(m_program->mainWindow(), WindowManagerTimeout));
}

void TestKeyboard::press(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(QApplication::activeWindow()->windowHandle(), key, modifiers);
}

void TestKeyboard::focusStartsInTheSearchBox()
{
    startAndLoad();
    auto *txtKey = control<QLineEdit>("txtKey");
    QVERIFY(txtKey);
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), txtKey, WindowManagerTimeout);
    // Typing goes into the box at once.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("moo"));
    QCOMPARE(txtKey->text(), QStringLiteral("moo"));
}

void TestKeyboard::arrowsChooseAndDisplayShowsTheKeyword_data()
{
    // The dictionary lists Snake, Moon, Sun in this order.
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("keyword");
    QTest::newRow("first Down chooses the first row") << QList<int> { Qt::Key_Down } << "Snake";
    QTest::newRow("first Up chooses the first row") << QList<int> { Qt::Key_Up } << "Snake";
    QTest::newRow("two Downs") << QList<int> { Qt::Key_Down, Qt::Key_Down } << "Moon";
    QTest::newRow("down to the end and back")
        << QList<int> { Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up } << "Moon";
}

void TestKeyboard::arrowsChooseAndDisplayShowsTheKeyword()
{
    QFETCH(QList<int>, keys);
    QFETCH(QString, keyword);
    startAndLoad();
    auto *txtKey = control<QLineEdit>("txtKey");
    auto *lstKeys = control<QAbstractItemView>("lstKeys");
    QVERIFY(txtKey && lstKeys);
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), txtKey, WindowManagerTimeout);
    QVERIFY(txtKey->text().isEmpty());
    // From the box: Search, then the list.
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), lstKeys);
    for (int key : keys)
        press(Qt::Key(key));
    QCOMPARE(txtKey->text(), keyword);

    QSignalSpy loaded(
        m_program->mainWindow()->meaningPane()->webView(), &WebView::DocumentComplete);
    press(Qt::Key_D, Qt::AltModifier);
    QVERIFY(WebWait::documents(loaded));
    QCOMPARE(loaded.first().first().toString(),
        QStringLiteral("qrc:/dreams/%1.html").arg(keyword.toLower()));
}

void TestKeyboard::tabLeavesThePageInOnePress_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("Tab") << Qt::Key_Tab << Qt::KeyboardModifiers(Qt::NoModifier);
    QTest::newRow("Shift+Tab") << Qt::Key_Backtab << Qt::KeyboardModifiers(Qt::ShiftModifier);
}

void TestKeyboard::tabLeavesThePageInOnePress()
{
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    startAndLoad();
    MDI *window = m_program->mainWindow();
    WebView *page = window->meaningPane()->webView();
    auto inPage = [page] {
        QWidget *focused = QApplication::focusWidget();
        return focused && (focused == page || page->isAncestorOf(focused));
    };
    // Into the page as the user gets there, with a click on it.
    QTest::mouseClick(
        window->windowHandle(), Qt::LeftButton, {}, page->mapTo(window, page->rect().center()));
    QTRY_VERIFY_WITH_TIMEOUT(inPage(), WindowManagerTimeout);
    // The page has three links; one press leaves it all the same, for a control of the window.
    press(key, modifiers);
    QVERIFY(!inPage());
    QWidget *after = QApplication::focusWidget();
    QVERIFY(after && after->window() == window && after->isVisible());
}

void TestKeyboard::escapeLeavesTheExitScreen()
{
    startAndLoad();
    QSignalSpy ended(m_program->application.get(), &Application::ended);
    m_program->mainWindow()->close();
    frmExitScreen *screen = m_program->application->exitScreen();
    QVERIFY(screen);
    // Shown without taking the focus from the desktop: the user activates it first.
    QVERIFY(QTest::qWaitForWindowExposed(screen, WindowManagerTimeout));
    screen->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(screen, WindowManagerTimeout));
    press(Qt::Key_Escape);
    QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, WindowManagerTimeout);
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard_e2e.moc"
