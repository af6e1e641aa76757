#pragma once
#include "Twips.h"

// Where the child panes go inside the main window, in twips, from the main window's outer
// size and its docked bands. A negative width or height is one the platform refuses: the
// caller keeps that one value as it was.
namespace PaneLayout {

struct MeaningPane
{
    int paneWidth = 0;
    int paneHeight = 0;
    int webWidth = 0; // the pane's inner width: the pane has no border
    int webHeight = 0;
};
MeaningPane meaningPane(const FrameMetrics &frame);

struct BrowserWindow
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int webWidth = 0;
    int webHeight = 0;
};
BrowserWindow browserWindow(const FrameMetrics &frame);

} // namespace PaneLayout
