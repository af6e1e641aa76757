#include "PageContextMenu.h"

#include <QAction>
#include <QMenu>
#include <QWebEnginePage>

namespace {

// Downloads are refused, no page may open a window and there is no inspector: these would do
// nothing at all.
constexpr QWebEnginePage::WebAction Idle[] = {
    QWebEnginePage::SavePage,
    QWebEnginePage::ViewSource,
    QWebEnginePage::InspectElement,
    QWebEnginePage::OpenLinkInNewWindow,
    QWebEnginePage::OpenLinkInNewTab,
    QWebEnginePage::OpenLinkInNewBackgroundTab,
    QWebEnginePage::DownloadLinkToDisk,
    QWebEnginePage::DownloadImageToDisk,
    QWebEnginePage::DownloadMediaToDisk,
};

void tidySeparators(QMenu *menu)
{
    bool previousWasSeparator = true; // a separator at the top separates nothing
    QAction *lastSeparator = nullptr;
    for (QAction *action : menu->actions()) {
        if (!action->isSeparator()) {
            previousWasSeparator = false;
            lastSeparator = nullptr;
            continue;
        }
        if (previousWasSeparator) {
            menu->removeAction(action);
            continue;
        }
        previousWasSeparator = true;
        lastSeparator = action;
    }
    if (lastSeparator)
        menu->removeAction(lastSeparator);
}

} // namespace

namespace PageContextMenu {

void prune(QMenu *menu, QWebEnginePage *page)
{
    for (const QWebEnginePage::WebAction idle : Idle)
        menu->removeAction(page->action(idle));
    tidySeparators(menu);
}

} // namespace PageContextMenu
