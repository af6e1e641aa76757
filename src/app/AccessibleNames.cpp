#include "AccessibleNames.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QCoreApplication>
#include <QToolBar>
#include <QToolButton>

namespace {

struct ButtonName
{
    const char *key;
    const char *name;
};

const ButtonName ButtonNames[] = {
    { "Back", QT_TRANSLATE_NOOP("AccessibleNames", "Back to the previous page") },
    { "Forward", QT_TRANSLATE_NOOP("AccessibleNames", "Forward to the next page") },
    { "Stop", QT_TRANSLATE_NOOP("AccessibleNames", "Stop loading the page") },
    { "Refresh", QT_TRANSLATE_NOOP("AccessibleNames", "Reload the page") },
    { "Home", QT_TRANSLATE_NOOP("AccessibleNames", "Somnilex home page") },
    { "Search", QT_TRANSLATE_NOOP("AccessibleNames", "Search engine home page") },
};

// Asked with the most derived class name first: a window of ours whose class comes straight
// from QWidget gets the window role; every other object is left to Qt's own interfaces. A
// pop-up menu comes straight from QWidget too, but only Qt's own interface lists its entries,
// so pop-ups (menus, tooltips, completions) are never taken for windows.
QAccessibleInterface *plainWindow(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget || !widget->isWindow()
        || widget->metaObject()->superClass() != &QWidget::staticMetaObject)
        return nullptr;
    const Qt::WindowType type = widget->windowType();
    if (type != Qt::Window && type != Qt::Dialog)
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace

namespace AccessibleNames {

void installWindowRoles()
{
    QAccessible::installFactory(plainWindow);
}

void nameNavigationButtons(QToolBar *toolbar)
{
    for (const ButtonName &button : ButtonNames) {
        auto *action = toolbar->findChild<QAction *>(QLatin1String(button.key));
        QWidget *shown = action ? toolbar->widgetForAction(action) : nullptr;
        if (shown)
            shown->setAccessibleName(QCoreApplication::translate("AccessibleNames", button.name));
    }
    // Qt's overflow button, shown when the window is too narrow for the whole toolbar.
    if (auto *more = toolbar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(
            QCoreApplication::translate("AccessibleNames", "More toolbar buttons"));
}

} // namespace AccessibleNames
