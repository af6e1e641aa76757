#include "MainLayout.h"

MainLayout MainLayout::design()
{
    MainLayout l;
    l.txtKey = { 60, 1110, 2775, 375 };
    l.cmdSearch = { 60, 1500, 2775, 435 };
    l.lstKeys = { 60, 1920, 2775, 6225 };
    l.cmdDisplay = { 60, 8160, 2775, 435 };
    l.cmdDonate = { 0, 120, 990, 360 };
    l.cmdExit = { 0, 70, 990, 360 };
    return l;
}

namespace {
void setExtent(int &field, int value)
{
    if (value >= 0)
        field = value;
}
} // namespace

MainLayout arrangeMainWindow(
    const MainLayout &current, int outerWidth, int outerHeight, int panelLeft, int panelWidth)
{
    MainLayout l = current;
    setExtent(l.lstKeys.height, outerHeight - 4850);
    l.cmdDisplay.top = l.lstKeys.top + l.lstKeys.height;
    l.cmdDisplay.height = 500;
    l.txtKey.left = panelLeft;
    l.lstKeys.left = panelLeft;
    l.cmdSearch.left = panelLeft;
    l.cmdDisplay.left = panelLeft;
    setExtent(l.txtKey.width, panelWidth - 75);
    setExtent(l.lstKeys.width, panelWidth - 50);
    setExtent(l.cmdSearch.width, panelWidth - 50);
    setExtent(l.cmdDisplay.width, panelWidth - 50);
    l.cmdDonate.left = outerWidth - l.cmdDonate.width - 300;
    l.cmdExit.left = outerWidth - l.cmdExit.width - 300;
    return l;
}
