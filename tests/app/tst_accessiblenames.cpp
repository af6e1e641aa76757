#include "AccessibleNames.h"
#include "FindBar.h"
#include "LinkLabel.h"
#include "MainWindowTestBase.h"
#include "NavigationToolbar.h"
#include "PageMessage.h"
#include "PaneArea.h"
#include "WebView.h"
#include "WebWait.h"
#include "frmExitScreen.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

// What a screen reader announces for the picture-only toolbar buttons of the main window and
// the browser window, and for the windows themselves.
class TestAccessibleNames : public MainWindowTestBase
{
    Q_OBJECT
private slots:
    void init() { setUpFixture(); }
    void cleanup() { tearDownFixture(); }
    void toolbarButtonsHaveDistinctNamesAndKeepTheirTooltips_data();
    void toolbarButtonsHaveDistinctNamesAndKeepTheirTooltips();
    void windowsAreAnnouncedAsWindows();
    void hiddenLabelsTakeNoFocus();
    void onlyRealWindowsAreListed();
    void menusListTheirEntries_data();
    void menusListTheirEntries();
    void pageStripsAreInTheTree();
};

void TestAccessibleNames::toolbarButtonsHaveDistinctNamesAndKeepTheirTooltips_data()
{
    QTest::addColumn<bool>("inBrowser");
    QTest::newRow("main window") << false;
    QTest::newRow("browser window") << true;
}

void TestAccessibleNames::toolbarButtonsHaveDistinctNamesAndKeepTheirTooltips()
{
    QFETCH(bool, inBrowser);
    openMainWindow();
    m_window->panes()->openBrowser(QString());
    QToolBar *toolbar = inBrowser ? m_window->browserWindow()->toolbar()
                                  : m_window->findChild<QToolBar *>(QStringLiteral("TB"));
    QVERIFY(toolbar);
    // Every name a reader hears in the window, from the buttons' accessible interfaces.
    QSet<QString> others;
    for (QWidget *widget : m_window->findChildren<QWidget *>()) {
        if (widget->isVisible() && !qobject_cast<QToolButton *>(widget)) {
            if (QAccessibleInterface *shown = QAccessible::queryAccessibleInterface(widget))
                others.insert(shown->text(QAccessible::Name).remove(QLatin1Char('&')));
        }
    }
    QSet<QString> names;
    for (const char *key : { "Back", "Forward", "Stop", "Refresh", "Home", "Search" }) {
        auto *action = toolbar->findChild<QAction *>(QLatin1String(key));
        QVERIFY(action);
        QCOMPARE(action->toolTip(), QLatin1String(key));
        QAccessibleInterface *button
            = QAccessible::queryAccessibleInterface(toolbar->widgetForAction(action));
        QVERIFY(button);
        const QString name = button->text(QAccessible::Name);
        QVERIFY2(!names.contains(name) && !others.contains(name), qPrintable(name));
        names.insert(name);
    }
    QVERIFY(names.contains(QStringLiteral("Search engine home page")));
    auto *more = toolbar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button"));
    QVERIFY(more);
    QVERIFY(!QAccessible::queryAccessibleInterface(more)->text(QAccessible::Name).isEmpty());
}

void TestAccessibleNames::windowsAreAnnouncedAsWindows()
{
    AccessibleNames::installWindowRoles();
    openMainWindow();
    QCOMPARE(QAccessible::queryAccessibleInterface(m_window.get())->role(), QAccessible::Window);
    frmExitScreen exitScreen(m_config, *m_services.prompter, *m_services.links, *m_services.random);
    QAccessibleInterface *shown = QAccessible::queryAccessibleInterface(&exitScreen);
    QVERIFY(shown);
    QCOMPARE(shown->role(), QAccessible::Window);
    QCOMPARE(shown->text(QAccessible::Name), exitScreen.windowTitle());
    // Its parts keep their own roles.
    for (QPushButton *button : exitScreen.findChildren<QPushButton *>())
        QCOMPARE(QAccessible::queryAccessibleInterface(button)->role(), QAccessible::Button);
}

void TestAccessibleNames::hiddenLabelsTakeNoFocus()
{
    openMainWindow();
    int hidden = 0;
    for (QLabel *label : m_window->findChildren<QLabel *>()) {
        // A toolbar hides what does not fit and shows it again under its overflow button.
        if (!label->isHidden() || qobject_cast<QToolBar *>(label->parentWidget()))
            continue;
        ++hidden;
        QVERIFY2(label->focusPolicy() == Qt::NoFocus, qPrintable(label->objectName()));
        QVERIFY2(!QAccessible::queryAccessibleInterface(label)->state().focusable,
            qPrintable(label->objectName()));
    }
    // The full-brand link lies hidden under the co-brand one.
    QVERIFY(hidden > 0);
    QVERIFY(m_window->findChild<LinkLabel *>(QStringLiteral("lblFullBrand"))->isHidden());
}

void TestAccessibleNames::onlyRealWindowsAreListed()
{
    openMainWindow();
    m_window->panes()->showMeaningPane();
    WebView *view = m_window->meaningPane()->webView();
    // The page is drawn by then, through the engine's own widget.
    QVERIFY(WebWait::until([view] { return view->focusProxy() != nullptr; }));
    QAccessibleInterface *application = QAccessible::queryAccessibleInterface(qApp);
    QVERIFY(application);
    QStringList names;
    for (int i = 0; i < application->childCount(); ++i)
        names << application->child(i)->text(QAccessible::Name);
    QVERIFY2(names.contains(m_window->windowTitle()), qPrintable(names.join(", ")));
    QVERIFY2(!names.contains(QStringLiteral("Offscreen")), qPrintable(names.join(", ")));
}

void TestAccessibleNames::menusListTheirEntries_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("File") << QStringLiteral("File")
                          << QStringList { "Update", "Print Page…", "Exit" };
    QTest::newRow("Help") << QStringLiteral("Help") << QStringList { "Visit Us Online" };
}

// A pop-up menu is read through Qt's own menu interface, which lists its entries: taken for a
// plain window it would read as an empty frame.
void TestAccessibleNames::menusListTheirEntries()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, entries);
    AccessibleNames::installWindowRoles();
    openMainWindow();
    QMenu *popup = nullptr;
    for (QAction *action : m_window->menuBar()->actions()) {
        if (action->text().remove(QLatin1Char('&')) == menu)
            popup = action->menu();
    }
    QVERIFY(popup);
    popup->popup(m_window->mapToGlobal(QPoint(10, 10)));
    QAccessibleInterface *shown = QAccessible::queryAccessibleInterface(popup);
    QVERIFY(shown);
    QCOMPARE(shown->role(), QAccessible::PopupMenu);
    QStringList names;
    for (int i = 0; i < shown->childCount(); ++i)
        names << shown->child(i)->text(QAccessible::Name).remove(QLatin1Char('&')).trimmed();
    for (const QString &entry : entries)
        QVERIFY2(names.contains(entry), qPrintable(names.join(", ")));
    popup->hide();
}

// The find bar and the page's message strip are reached from the pane that shows the page:
// the view's own interface holds only the web document.
void TestAccessibleNames::pageStripsAreInTheTree()
{
    openMainWindow();
    m_window->panes()->showMeaningPane();
    WebView *view = m_window->meaningPane()->webView();
    for (QWidget *strip :
        { static_cast<QWidget *>(view->findBar()), static_cast<QWidget *>(view->message()) }) {
        QAccessibleInterface *shown = QAccessible::queryAccessibleInterface(strip);
        QVERIFY(shown);
        QAccessibleInterface *parent = shown->parent();
        QVERIFY2(parent && parent->indexOfChild(shown) >= 0, qPrintable(strip->objectName()));
        QVERIFY(parent->object() != view);
    }
    view->findBar()->open();
    QLineEdit *findField = view->findBar()->findChild<QLineEdit *>("txtFind");
    QCOMPARE(QApplication::focusWidget(), findField);
    QAccessibleInterface *field = QAccessible::queryAccessibleInterface(findField);
    QVERIFY(!field->text(QAccessible::Name).isEmpty());
    QVERIFY(field->state().focused);
}

QTEST_MAIN(TestAccessibleNames)
#include "tst_accessiblenames.moc"
