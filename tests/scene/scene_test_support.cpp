#include "tests/scene/scene_test_support.h"
#include "tests/support/dib_section.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

void writeBmp(const std::string& path, int width, int height, const PixelFunction& colour) {
    const int stride = (width * 3 + 3) & ~3;
    const DWORD imageSize = static_cast<DWORD>(stride * height);
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + imageSize;
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = imageSize;
    std::vector<unsigned char> pixels(imageSize, 0);
    for (int y = 0; y < height; ++y) {
        unsigned char* row = pixels.data() + static_cast<size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            COLORREF c = colour(x, y);
            row[x * 3] = GetBValue(c);
            row[x * 3 + 1] = GetGValue(c);
            row[x * 3 + 2] = GetRValue(c);
        }
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        throw std::runtime_error("cannot write " + path);
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(pixels.data(), 1, pixels.size(), out);
    std::fclose(out);
}

namespace {

std::uint32_t dibValue(COLORREF c) {
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

} // namespace

BitmapHandle makeDibBitmap(int width, int height, const PixelFunction& colour) {
    std::uint32_t* bits = nullptr;
    BitmapHandle bitmap = makeDibSection(width, height, &bits);
    if (!bitmap)
        throw std::runtime_error("cannot make a DIB section");
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bits[static_cast<size_t>(y) * width + x] = dibValue(colour(x, y));
    return bitmap;
}

DibSurface::DibSurface(int width, int height, COLORREF fill)
    : width_(width), height_(height), dc_(nullptr) {
    bitmap_ = makeDibSection(width, height, &bits_);
    if (!bitmap_ || !dc_)
        throw std::runtime_error("cannot make a DIB surface");
    previous_ = SelectObject(dc_.get(), bitmap_.get());
    this->fill(fill);
}

DibSurface::~DibSurface() {
    if (previous_)
        SelectObject(dc_.get(), previous_);
}

COLORREF DibSurface::pixel(int x, int y) const {
    GdiFlush();
    std::uint32_t value = bits_[static_cast<size_t>(y) * width_ + x];
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

void DibSurface::setPixel(int x, int y, COLORREF c) {
    GdiFlush();
    bits_[static_cast<size_t>(y) * width_ + x] = dibValue(c);
}

void DibSurface::fill(COLORREF colour) {
    paint([colour](int, int) { return colour; });
}

void DibSurface::paint(const PixelFunction& colour) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            setPixel(x, y, colour(x, y));
}

std::vector<bool> DibSurface::differing(COLORREF colour) const {
    std::vector<bool> result(static_cast<size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            result[static_cast<size_t>(y) * width_ + x] = pixel(x, y) != colour;
    return result;
}

int DibSurface::countDiffering(COLORREF colour) const {
    int count = 0;
    for (bool d : differing(colour))
        count += d;
    return count;
}

std::vector<bool> rectMask(int width, int height, const RECT& rect) {
    std::vector<bool> mask(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            mask[static_cast<size_t>(y) * width + x] =
                x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
    return mask;
}

int RecordingPacer::waits() const {
    int count = 0;
    for (const Event& e : events)
        count += e.wait;
    return count;
}

bool nearColour(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

void appendPair(std::string& text, int x, int y) {
    text += ',';
    text += std::to_string(x);
    text += ',';
    text += std::to_string(y);
}

SceneSetup foundType(std::int32_t moveType, int screenWidth, int screenHeight) {
    SceneSetup setup;
    setup.fullScreen = true;
    setup.screenWidth = screenWidth;
    setup.screenHeight = screenHeight;
    setup.typeRead = true;
    setup.moveType = moveType;
    setup.parameters.waypointCount = 1;
    return setup;
}
