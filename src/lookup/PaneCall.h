#pragma once
#include <QList>
#include <QString>

class PaneHost;

// One request to the web panes.
struct PaneCall
{
    enum class Kind { NavigateMeaningPane, ShowMeaningPane, HideBrowser, RestartWebSearch };
    Kind kind;
    QString address; // where NavigateMeaningPane goes; what RestartWebSearch searches for

    bool operator==(const PaneCall &other) const
    {
        return kind == other.kind && address == other.address;
    }
};
using PaneCalls = QList<PaneCall>;

// Sends calls to panes in order. A restarted web search closes the browser window and opens it
// anew with its term.
void sendPaneCalls(const PaneCalls &calls, PaneHost &panes);
