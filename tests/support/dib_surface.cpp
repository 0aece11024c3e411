#include "tests/support/dib_surface.h"
#include "tests/support/dib_section.h"

#include <cstddef>
#include <stdexcept>

DibSurface::DibSurface(int width, int height, COLORREF fill)
    : width_(width), height_(height), bitmap_(makeDibSection(width, height, &bits_)), dc_(nullptr),
      selection_(dc_.get(), bitmap_.get()) {
    if (!bitmap_ || !dc_ || !selection_)
        throw std::runtime_error("cannot make a DIB surface");
    this->fill(fill);
}

COLORREF DibSurface::pixel(int x, int y) const {
    GdiFlush();
    return colorRef(bits_[static_cast<std::size_t>(y) * width_ + x]);
}

void DibSurface::setPixel(int x, int y, COLORREF c) {
    GdiFlush();
    bits_[static_cast<std::size_t>(y) * width_ + x] = dibPixel(c);
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
    for (std::size_t i = 0; i < static_cast<std::size_t>(width_) * height_; ++i)
        result.push_back(colorRef(bits_[i]));
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
