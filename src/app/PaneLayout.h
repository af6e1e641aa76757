#pragma once
#include "FrameMetrics.h"
#include "PaneGeometry.h"

// Where the child panes go inside the main window, in twips, from the main window's outer
// size and its docked bands. A negative width or height is one the platform refuses: the
// pane keeps that one value as it was.
namespace PaneLayout {

struct MeaningPane
{
    int paneWidth = 0;
    int paneHeight = 0;
    int webWidth = 0; // the pane's inner width: the pane has no border
    int webHeight = 0;

    // The pane stays at the area's corner; only its size follows the window.
    PaneGeometry geometry() const { return { { 0, 0, paneWidth, paneHeight }, webHeight }; }
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

    PaneGeometry geometry() const { return { { left, top, width, height }, webHeight }; }
};
BrowserWindow browserWindow(const FrameMetrics &frame);

} // namespace PaneLayout
