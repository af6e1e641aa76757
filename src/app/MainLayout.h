#pragma once
#include "Twips.h"

// The rectangles of the main window's controls that follow its size, in twips.
struct MainLayout
{
    TwipsRect txtKey;
    TwipsRect lstKeys;
    TwipsRect cmdSearch;
    TwipsRect cmdDisplay;
    TwipsRect cmdDonate;
    TwipsRect cmdExit;

    // The design rectangles, as the window is built.
    static MainLayout design();

    bool operator==(const MainLayout &o) const
    {
        return txtKey == o.txtKey && lstKeys == o.lstKeys && cmdSearch == o.cmdSearch
            && cmdDisplay == o.cmdDisplay && cmdDonate == o.cmdDonate && cmdExit == o.cmdExit;
    }
};

// The arrangement after a size change: outerWidth and outerHeight are the window's outer size,
// panelLeft and panelWidth the left panel's left edge and width. A value the platform would
// refuse (a negative width or height) leaves that one value as it was.
MainLayout arrangeMainWindow(
    const MainLayout &current, int outerWidth, int outerHeight, int panelLeft, int panelWidth);
