#pragma once

#include <QRect>
#include <QSize>
#include <QtGlobal>

// Window geometry is given in twips: 1440 to the inch, 15 to a logical pixel.
namespace twips {

constexpr int PerPixel = 15;

constexpr int px(int twips)
{
    return (twips >= 0 ? twips + PerPixel / 2 : twips - PerPixel / 2) / PerPixel;
}

constexpr int fromPx(int pixels)
{
    return pixels * PerPixel;
}

inline QRect rect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

inline QSize size(int width, int height)
{
    return QSize(px(width), px(height));
}

} // namespace twips
