#include "Contrast.h"

#include <QtMath>

#include <initializer_list>

namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : qPow((channel + 0.055) / 1.055, 2.4);
}

} // namespace

namespace Contrast {

double relativeLuminance(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF())
        + 0.0722 * linear(rgb.blueF());
}

double ratio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

QColor readable(const QColor &wanted, const QColor &background, const QColor &fallback)
{
    if (ratio(wanted, background) >= Minimum)
        return wanted;
    if (ratio(fallback, background) >= Minimum)
        return fallback;
    QColor best = fallback;
    for (const QColor &candidate : { QColor(Qt::black), QColor(Qt::white) }) {
        if (ratio(candidate, background) > ratio(best, background))
            best = candidate;
    }
    return best;
}

QColor shiftUntilReadable(const QColor &background, const QColor &text)
{
    const bool lightText = relativeLuminance(text) > relativeLuminance(background);
    QColor shifted = background;
    // Black or white is reached long before this, and either reads on the other.
    for (int step = 0; step < 40 && ratio(shifted, text) < Minimum; ++step)
        shifted = lightText ? shifted.darker(105) : shifted.lighter(105);
    return shifted;
}

QPalette withReadableSelection(QPalette palette)
{
    for (const QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive }) {
        palette.setColor(group, QPalette::Highlight,
            shiftUntilReadable(palette.color(group, QPalette::Highlight),
                palette.color(group, QPalette::HighlightedText)));
    }
    return palette;
}

} // namespace Contrast
