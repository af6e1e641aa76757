#pragma once
#include "Twips.h"

// Where the main window puts a pane, in twips: the pane's outer rectangle in the client area and
// the height of the page inside it. A negative width or height is one the platform refuses: the
// pane keeps that one value as it was.
struct PaneGeometry
{
    TwipsRect outer;
    int pageHeight = 0;
};
