#include "tests/support/dib_section.h"

#include <cstddef>
#include <stdexcept>

BitmapHandle makeDibBitmap(int width, int height, const PixelFunction& colour) {
    BITMAPINFO info = topDownDibInfo(width, height);
    info.bmiHeader.biHeight = height; // bottom-up
    void* bits = nullptr;
    BitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits)
        throw std::runtime_error("cannot make a DIB section");
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<std::size_t>(height - 1 - y) * width + x] = dibPixel(colour(x, y));
    return bitmap;
}
