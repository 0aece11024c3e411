#pragma once
#include "platform/gdi_handles.h"
#include "raster/dib_section.h"
#include "tests/support/pixels.h"

#include <windows.h>
#include <cstdint>
#include <vector>

// A 32-bit DIB section selected into its own memory context: a target to draw into whose
// pixels the test reads directly. Top-down and made as the program makes its own surfaces,
// or bottom-up as the platform makes any other (CreateCompatibleBitmap on a context that
// holds a DIB section among them), which the program must draw through GDI.
class DibSurface {
  public:
    enum class Rows { TopDown, BottomUp };
    DibSurface(int width, int height, COLORREF fill = RGB(0, 0, 0), Rows rows = Rows::TopDown);
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    HDC dc() const { return dc_.get(); }
    HBITMAP bitmap() const { return topDown_ ? topDown_.get() : bottomUp_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }
    // The raw 32-bit pixels, alpha byte included, in memory order: top row first unless
    // bottom-up (GdiFlush before reading).
    std::uint32_t* bits() const { return bits_; }

    COLORREF pixel(int x, int y) const;
    void setPixel(int x, int y, COLORREF colour);
    void fill(COLORREF colour);
    void paint(const PixelFunction& colour);
    // Every pixel, top row first.
    std::vector<COLORREF> pixels() const;
    // Pixels that are not `colour`, row by row (true: differs).
    std::vector<bool> differing(COLORREF colour) const;
    int countDiffering(COLORREF colour) const;

  private:
    std::uint32_t* row(int y) const;

    int width_;
    int height_;
    std::uint32_t* bits_ = nullptr;
    bool bottomUpRows_;
    TopDownBitmap topDown_;
    BitmapHandle bottomUp_;
    MemoryDC dc_;
    SelectedObject selection_;
};

// The pixels of rect (left, top, right, bottom) as a mask in the shape of differing().
std::vector<bool> rectMask(int width, int height, const RECT& rect);
