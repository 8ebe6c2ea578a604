#pragma once

#include <QRect>

#include <cmath>

// Control positions are kept in twips (1/1440 inch) and shown at a fixed
// 15 twips per pixel.
namespace Twips {
inline constexpr int perPixel = 15;

inline int toPixels(double twips)
{
    return int(std::lround(twips / perPixel));
}

inline QRect toPixels(const QRect &twips)
{
    return {toPixels(twips.x()), toPixels(twips.y()), toPixels(twips.width()), toPixels(twips.height())};
}
} // namespace Twips
