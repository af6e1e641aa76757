#pragma once

class QPalette;

// The pages follow the desktop's colour scheme as Qt's palette gives it (Qt 6.4 has no colour
// scheme hint of its own): a dark window colour asks the bundled pages for their dark colours.
namespace ColourScheme {

// Whether the palette is a dark scheme: its window colour is darker than its text.
bool isDark(const QPalette &palette);

// Tells the engine the scheme, for the pages' prefers-color-scheme. Must run before the first
// web view exists: the engine reads its switches once, when it starts. A scheme the user chose
// by hand in the engine's switches is kept.
void prepareEngine(const QPalette &palette);

} // namespace ColourScheme
