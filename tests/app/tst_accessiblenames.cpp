#include "MainWindowTestBase.h"

#include <QAccessible>
#include <QAction>
#include <QSet>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

// What a screen reader announces for the main window's picture-only toolbar buttons.
class TestAccessibleNames : public MainWindowTestBase
{
    Q_OBJECT
private slots:
    void init() { setUpFixture(); }
    void cleanup() { tearDownFixture(); }
    void toolbarButtonsHaveDistinctNamesAndKeepTheirTooltips();
};

void TestAccessibleNames::toolbarButtonsHaveDistinctNamesAndKeepTheirTooltips()
{
    openMainWindow();
    auto *toolbar = m_window->findChild<QToolBar *>(QStringLiteral("TB"));
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

QTEST_MAIN(TestAccessibleNames)
#include "tst_accessiblenames.moc"
