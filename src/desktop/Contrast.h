#pragma once
#include <QColor>
#include <QPalette>

// Contrast between text and its background as the accessibility guidelines measure it (WCAG
// 2: from 1:1 for the same colour to 21:1 for black on white).
namespace Contrast {

// The guidelines' floor for normal text.
constexpr double Minimum = 4.5;

double relativeLuminance(const QColor &colour);
double ratio(const QColor &a, const QColor &b);
// wanted when it reads well enough on background, else fallback when that does; otherwise
// whichever of black and white reads best there.
QColor readable(const QColor &wanted, const QColor &background, const QColor &fallback);

// background made darker (or, behind dark text, lighter) in small steps until text reads on it,
// so that the colour keeps its hue.
QColor shiftUntilReadable(const QColor &background, const QColor &text);

// The palette with its selection colour shifted until the selected text reads on it in every
// colour group; the other colours are the desktop's.
QPalette withReadableSelection(QPalette palette);

} // namespace Contrast
