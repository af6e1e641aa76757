// Finding in the page in front, the meaning pane's or the web search's: Ctrl+F opens the bar
// with the focus in its field, F3 and Shift+F3 step through the matches, Esc closes it.
#include "FindBar.h"
#include "RiverPageTestBase.h"

#include <QLabel>
#include <QLineEdit>

namespace {

QString matches(WebView *view)
{
    return view->findBar()->findChild<QLabel *>("lblMatches")->text();
}

} // namespace

class TestFindInPage : public RiverPageTestBase
{
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void initTestCase() { startServer(); }
    void init() { openRiverWindow(); }
    void cleanup() { tearDownFixture(); }
    void findBar_data();
    void findBar();
};

void TestFindInPage::findBar_data()
{
    QTest::addColumn<bool>("inBrowser");
    QTest::newRow("meaning pane") << false;
    QTest::newRow("browser window") << true;
}

void TestFindInPage::findBar()
{
    QFETCH(bool, inBrowser);
    WebView *view = showRiverPage(inBrowser);
    QVERIFY(view);
    view->setFocus();

    press(Qt::CTRL | Qt::Key_F);
    FindBar *bar = view->findBar();
    QVERIFY(bar->isVisible());
    QCOMPARE(QApplication::focusWidget(), bar->findChild<QLineEdit *>("txtFind"));
    // Only the page in front has its bar open.
    WebView *other = inBrowser ? m_window->meaningPane()->webView() : nullptr;
    if (other)
        QVERIFY(!other->findBar()->isVisible());

    QTest::keyClicks(bar->findChild<QLineEdit *>("txtFind"), QStringLiteral("river"));
    const bool found = WebWait::until([&] { return matches(view) == QLatin1String("1 of 4"); });
    QVERIFY2(found, qPrintable(matches(view)));
    press(Qt::Key_F3);
    QVERIFY(WebWait::until([&] { return matches(view) == QLatin1String("2 of 4"); }));
    press(Qt::Key_F3);
    QVERIFY(WebWait::until([&] { return matches(view) == QLatin1String("3 of 4"); }));
    press(Qt::SHIFT | Qt::Key_F3);
    QVERIFY(WebWait::until([&] { return matches(view) == QLatin1String("2 of 4"); }));
    QTest::keyClicks(bar->findChild<QLineEdit *>("txtFind"), QStringLiteral("bank"));
    QVERIFY(WebWait::until([&] { return matches(view) == QLatin1String("No matches"); }));

    press(Qt::Key_Escape);
    QVERIFY(!bar->isVisible());
    QWidget *focus = QApplication::focusWidget();
    QVERIFY2(focus == view || focus == view->focusProxy(),
        qPrintable(focus ? focus->metaObject()->className() : QStringLiteral("nothing")));
    // The window is still there: Esc only closed the bar.
    QVERIFY(m_window->isVisible());
}

QTEST_MAIN(TestFindInPage)
#include "tst_findinpage.moc"
