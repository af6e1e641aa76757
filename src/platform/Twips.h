#pragma once
#include <QRect>

// Geometry is kept in twips, as the window designs give it; 15 twips are one logical pixel.
namespace Twips {

constexpr int PerPixel = 15;
constexpr int toPixels(int twips)
{
    return twips / PerPixel;
}
constexpr int fromPixels(int pixels)
{
    return pixels * PerPixel;
}

} // namespace Twips

// A rectangle in twips: left, top, width, height.
struct TwipsRect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    QRect toPixels() const
    {
        return { Twips::toPixels(left), Twips::toPixels(top), Twips::toPixels(width),
            Twips::toPixels(height) };
    }
    static TwipsRect fromPixels(const QRect &r)
    {
        return { Twips::fromPixels(r.x()), Twips::fromPixels(r.y()), Twips::fromPixels(r.width()),
            Twips::fromPixels(r.height()) };
    }
    bool operator==(const TwipsRect &o) const
    {
        return left == o.left && top == o.top && width == o.width && height == o.height;
    }
    bool operator!=(const TwipsRect &o) const { return !(*this == o); }
};
