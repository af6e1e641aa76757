#pragma once
#include <QRect>
#include <QWidget>

// Where a page's strips (the find bar, the page's message) lie: over the view, in the widget that
// holds them. They are the view's siblings rather than its children whenever the view has a
// parent, because a screen reader reaches a view's children only through the web document.
namespace PageStrip {

// The widget that holds the strips of view: its parent, or the view itself when it has none.
inline QWidget *hostFor(QWidget *view)
{
    return view->parentWidget() ? view->parentWidget() : view;
}

// The view's rectangle in the coordinates of host.
inline QRect pageRect(const QWidget *view, const QWidget *host)
{
    return host == view ? view->rect() : view->geometry();
}

} // namespace PageStrip
