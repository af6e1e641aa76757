#include "PaneCall.h"

#include "PaneHost.h"

void sendPaneCalls(const PaneCalls &calls, PaneHost &panes)
{
    for (const PaneCall &call : calls) {
        switch (call.kind) {
        case PaneCall::Kind::NavigateMeaningPane:
            panes.navigateMeaningPane(call.address);
            break;
        case PaneCall::Kind::ShowMeaningPane:
            panes.showMeaningPane();
            break;
        case PaneCall::Kind::HideBrowser:
            panes.hideBrowser();
            break;
        case PaneCall::Kind::RestartWebSearch:
            panes.closeBrowser();
            panes.openBrowser(call.address);
            break;
        }
    }
}
