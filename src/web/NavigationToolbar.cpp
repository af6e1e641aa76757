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
    }
    addSeparator();
}

LinkLabel *NavigationToolbar::addStrip(const QString &text)
{
    auto *strip = new LinkLabel(text, this);
    strip->setStyleSheet(QStringLiteral("background: white; padding: 4px 8px;"));
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
