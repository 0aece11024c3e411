#include "tests/support/dib_section.h"

#include <cstddef>
#include <stdexcept>

BITMAPINFO topDownDibInfo(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

BitmapHandle makeDibSection(int width, int height, std::uint32_t** pixels) {
    const BITMAPINFO info = topDownDibInfo(width, height);
    void* bits = nullptr;
    BitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (pixels)
        *pixels = static_cast<std::uint32_t*>(bits);
    return bitmap;
}

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
