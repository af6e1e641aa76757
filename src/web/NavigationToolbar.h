#pragma once
#include <QToolBar>

class LinkLabel;
class WebView;

// The six navigation keys with their pictures, and to their right the promotional strips. The
// main window and the browser window each have one; a click reports the button's key.
class NavigationToolbar : public QToolBar
{
    Q_OBJECT
public:
    explicit NavigationToolbar(const QString &title, QWidget *parent = nullptr);

    // Adds a promotional strip: a link on the page colour (white in a light scheme), right of
    // the keys.
    LinkLabel *addStrip(const QString &text);

    // Runs the command of a key on a web view; any other key does nothing.
    static void dispatch(const QString &key, WebView *view);

signals:
    void ButtonClick(const QString &key);
};
