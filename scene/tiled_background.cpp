#include "scene/tiled_background.h"

#include <cstdint>

namespace {

// The mathematical remainder: a negative origin (a centred sprite wider than the screen
// puts its rectangle left of 0) must not leave a gap before the first tile.
std::int64_t floorRemainder(std::int64_t value, std::int64_t divisor) {
    std::int64_t remainder = value % divisor;
    return remainder < 0 ? remainder + divisor : remainder;
}

} // namespace

void drawBackgroundTiled(HDC dc, const RECT& rect, HDC source, int width, int height, int originX,
                         int originY) {
    if (width <= 0 || height <= 0 || rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    const std::int64_t left = rect.left;
    const std::int64_t top = rect.top;
    const std::int64_t right = rect.right;
    const std::int64_t bottom = rect.bottom;
    const std::int64_t y0 = top - floorRemainder(originY + top, height);
    const std::int64_t x0 = left - floorRemainder(originX + left, width);
    for (std::int64_t y = y0; y < bottom; y += height) {
        for (std::int64_t x = x0; x < right; x += width) {
            std::int64_t srcX = x < left ? left - x : 0;
            std::int64_t srcY = y < top ? top - y : 0;
            std::int64_t w = width - srcX - (x + width > right ? x + width - right : 0);
            std::int64_t h = height - srcY - (y + height > bottom ? y + height - bottom : 0);
            BitBlt(dc, static_cast<int>(x + srcX), static_cast<int>(y + srcY), static_cast<int>(w),
                   static_cast<int>(h), source, static_cast<int>(srcX), static_cast<int>(srcY),
                   SRCCOPY);
        }
    }
}
