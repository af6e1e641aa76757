#pragma once

class QToolBar;
class QWidget;

// Names that say what a control does, for the controls whose caption does not: a screen reader
// reads these instead of the picture's tooltip.
namespace AccessibleNames {

// The navigation buttons by their keys, so that the toolbar's Search reads as the search
// engine's page, not as a second Search beside the lookup's; and the overflow button.
void nameNavigationButtons(QToolBar *toolbar);

// Windows made of a plain widget (the exit screen) are announced as windows, not as fillers.
// Installed once for the application; installing it again changes nothing.
void installWindowRoles();

} // namespace AccessibleNames
