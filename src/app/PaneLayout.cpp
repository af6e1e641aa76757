#include "PaneLayout.h"

namespace PaneLayout {

namespace {
int bandsHeight(const FrameMetrics &frame)
{
    return frame.picTopHeight + frame.picBottomHeight + frame.toolbarHeight;
}
} // namespace

MeaningPane meaningPane(const FrameMetrics &frame)
{
    MeaningPane pane;
    pane.paneWidth = frame.outerWidth - frame.picLeftWidth - 250;
    pane.paneHeight = frame.outerHeight;
    pane.webWidth = pane.paneWidth;
    pane.webHeight = frame.outerHeight - bandsHeight(frame) - 750;
    return pane;
}

BrowserWindow browserWindow(const FrameMetrics &frame)
{
    BrowserWindow window;
    window.left = -75;
    window.top = -75;
    window.width = frame.outerWidth - frame.picLeftWidth;
    window.height = frame.outerHeight + 100;
    window.webWidth = window.width - 100;
    window.webHeight = frame.outerHeight - bandsHeight(frame) - 650;
    return window;
}

} // namespace PaneLayout
