#include "Fonts.h"

namespace Fonts {

QFont verdana(qreal points, bool bold)
{
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace Fonts
