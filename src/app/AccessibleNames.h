#pragma once

class QToolBar;
class QWidget;

// Names that say what a control does, for the controls whose caption does not: a screen reader
// reads these instead of the picture's tooltip.
namespace AccessibleNames {

// The navigation buttons by their keys, so that the toolbar's Search reads as the search
// engine's page, not as a second Search beside the lookup's; and the overflow button.
void nameNavigationButtons(QToolBar *toolbar);

} // namespace AccessibleNames
