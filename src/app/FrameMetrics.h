#pragma once

// What the child panes' placement rules read of the main window, in twips: its outer size, the
// left panel's width and the heights of the bands above and below the panes.
struct FrameMetrics
{
    int outerWidth = 0;
    int outerHeight = 0;
    int picLeftWidth = 0;
    int picTopHeight = 0;
    int picBottomHeight = 0;
    int toolbarHeight = 0;
};
