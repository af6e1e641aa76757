#pragma once
#include <QString>

// Whether the desktop wants the applications' accessibility trees, decided as Qt's own AT-SPI
// bridge decides it, and the switch that lets the web pages' contents into that tree. Qt
// WebEngine keeps its pages out of the tree on Linux unless told otherwise, so a screen reader
// would find the meaning pane empty.
namespace ScreenReaderAccess {

// What the desktop says, read once.
struct DesktopState
{
    bool alwaysOn = false; // QT_LINUX_ACCESSIBILITY_ALWAYS_ON is set
    bool busFound = false; // the session bus offers the accessibility bus
    bool isEnabled = false; // org.a11y.Status IsEnabled
    bool screenReaderEnabled = false; // org.a11y.Status ScreenReaderEnabled
};

// Reads the environment and the accessibility bus's status on the session bus. Needs the
// application object; a desktop without a session bus reads as all false.
DesktopState readDesktop();

// Qt's rule: any of the three switches turns the tree on.
bool wantsAccessibility(const DesktopState &desktop);

// Turns the engine's accessibility on when the desktop wants it. Must run before the first web
// view exists: the engine reads the switch once, when it starts. Returns whether it is on.
bool prepareEngine();

} // namespace ScreenReaderAccess
