#include "tests/support/dib_section.h"

#include <cstddef>
#include <stdexcept>

BitmapHandle makeDibBitmap(int width, int height, const PixelFunction& colour) {
    std::uint32_t* bits = nullptr;
    BitmapHandle bitmap = makeDibSection(width, height, &bits);
    if (!bitmap)
        throw std::runtime_error("cannot make a DIB section");
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bits[static_cast<std::size_t>(y) * width + x] = dibPixel(colour(x, y));
    return bitmap;
}
