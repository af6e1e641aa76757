#pragma once
// A stand-in for the web panes that writes down, in order, what the lookup handlers ask of them.
#include "PaneHost.h"

#include <QStringList>

class RecordingPaneHost : public PaneHost
{
public:
    void navigateMeaningPane(const QString &address) override
    {
        calls << QStringLiteral("navigate ") + address;
    }
    void showMeaningPane() override { calls << QStringLiteral("show"); }
    void closeBrowser() override
    {
        calls << QStringLiteral("closeBrowser");
        browserOpen = false;
    }
    void openBrowser(const QString &term) override
    {
        calls << QStringLiteral("openBrowser");
        browserOpen = true;
        searchTerm = term;
    }
    void hideBrowser() override { calls << QStringLiteral("hideBrowser"); }

    QStringList calls;
    bool browserOpen = false;
    QString searchTerm; // of the last web search
};
