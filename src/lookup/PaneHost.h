#pragma once
#include <QString>

// What the lookup handlers ask of the web panes: the meaning pane is navigated and shown,
// the browser window closed, opened anew for a web search of a term, or hidden.
class PaneHost
{
public:
    virtual ~PaneHost() = default;
    virtual void navigateMeaningPane(const QString &address) = 0;
    virtual void showMeaningPane() = 0;
    virtual void closeBrowser() = 0;
    virtual void openBrowser(const QString &term) = 0;
    virtual void hideBrowser() = 0;
};
