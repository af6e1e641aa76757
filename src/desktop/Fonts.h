#pragma once
#include <QFont>

namespace Fonts {

// The program's one typeface, at the design's point size unless told otherwise.
QFont verdana(qreal points = 8.25, bool bold = false);

} // namespace Fonts
