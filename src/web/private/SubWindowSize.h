#pragma once

class QWidget;

namespace SubWindowSize {

// The widget that stands for a pane inside the main window: the frameless sub-window that holds
// it there, or the pane itself when it stands alone.
QWidget *frameOf(QWidget *pane);

// Sizes the pane and its sub-window in twips. A negative width or height is one the platform
// refuses: that one value stays as it was.
void resize(QWidget *pane, int width, int height);

} // namespace SubWindowSize
