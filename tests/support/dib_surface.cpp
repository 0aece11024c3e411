#include "tests/support/dib_surface.h"
#include "tests/support/dib_section.h"

#include <cstddef>
#include <stdexcept>

namespace {

BitmapHandle bottomUpSection(int width, int height, std::uint32_t** bits) {
    BITMAPINFO info = topDownDibInfo(width, height);
    info.bmiHeader.biHeight = height;
    void* memory = nullptr;
    BitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0));
    *bits = static_cast<std::uint32_t*>(memory);
    return bitmap;
}

} // namespace

DibSurface::DibSurface(int width, int height, COLORREF fill, Rows rows)
    : width_(width), height_(height), bottomUpRows_(rows == Rows::BottomUp),
      topDown_(bottomUpRows_ ? TopDownBitmap() : makeDibSection(width, height, &bits_)),
      bottomUp_(bottomUpRows_ ? bottomUpSection(width, height, &bits_) : BitmapHandle()),
      dc_(nullptr), selection_(dc_.get(), bitmap()) {
    if (!bitmap() || !bits_ || !dc_ || !selection_)
        throw std::runtime_error("cannot make a DIB surface");
    this->fill(fill);
}

std::uint32_t* DibSurface::row(int y) const {
    return bits_ + static_cast<std::size_t>(bottomUpRows_ ? height_ - 1 - y : y) * width_;
}

COLORREF DibSurface::pixel(int x, int y) const {
    GdiFlush();
    return colorRef(row(y)[x]);
}

void DibSurface::setPixel(int x, int y, COLORREF c) {
    GdiFlush();
    row(y)[x] = dibPixel(c);
}

void DibSurface::fill(COLORREF colour) {
    paint([colour](int, int) { return colour; });
}

void DibSurface::paint(const PixelFunction& colour) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            setPixel(x, y, colour(x, y));
}

std::vector<COLORREF> DibSurface::pixels() const {
    GdiFlush(); // once for the whole picture, not for every pixel
    std::vector<COLORREF> result;
    result.reserve(static_cast<std::size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            result.push_back(colorRef(row(y)[x]));
    return result;
}

std::vector<bool> DibSurface::differing(COLORREF colour) const {
    std::vector<bool> result;
    result.reserve(static_cast<std::size_t>(width_) * height_);
    for (COLORREF p : pixels())
        result.push_back(p != colour);
    return result;
}

int DibSurface::countDiffering(COLORREF colour) const {
    int count = 0;
    for (bool d : differing(colour))
        count += d;
    return count;
}

std::vector<bool> rectMask(int width, int height, const RECT& rect) {
    std::vector<bool> mask(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            mask[static_cast<std::size_t>(y) * width + x] =
                x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
    return mask;
}
