#include "NavigationToolbar.h"

#include "LinkLabel.h"
#include "WebView.h"

#include <QAction>

NavigationToolbar::NavigationToolbar(const QString &title, QWidget *parent)
    : QToolBar(title, parent)
{
    setIconSize(QSize(24, 24));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    static const char *const keys[] = { "Back", "Forward", "Stop", "Refresh", "Home", "Search" };
    for (const char *key : keys) {
        const QString name = QString::fromLatin1(key);
        QAction *action
            = addAction(QIcon(QStringLiteral(":/icons/%1.svg").arg(name.toLower())), name);
        action->setObjectName(name);
        action->setToolTip(name);
        connect(action, &QAction::triggered, this, [this, name] { emit ButtonClick(name); });
        // A toolbar's buttons take no focus by default: the keys would need the mouse.
        widgetForAction(action)->setFocusPolicy(Qt::TabFocus);
    }
    addSeparator();
}

LinkLabel *NavigationToolbar::addStrip(const QString &text)
{
    auto *strip = new LinkLabel(text, this);
    // A slab of the page's own colour, which follows the desktop's scheme.
    strip->setAutoFillBackground(true);
    strip->setBackgroundRole(QPalette::Base);
    strip->setForegroundRole(QPalette::Text);
    strip->setContentsMargins(8, 4, 8, 4);
    addWidget(strip);
    return strip;
}

void NavigationToolbar::dispatch(const QString &key, WebView *view)
{
    if (key == QLatin1String("Back"))
        view->GoBack();
    else if (key == QLatin1String("Forward"))
        view->GoForward();
    else if (key == QLatin1String("Refresh"))
        view->Refresh();
    else if (key == QLatin1String("Home"))
        view->GoHome();
    else if (key == QLatin1String("Search"))
        view->GoSearch();
    else if (key == QLatin1String("Stop"))
        view->Stop();
}
