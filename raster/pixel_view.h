#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

// The pixels of a 32-bit top-down DIB section selected into a memory context, addressed in
// the context's logical coordinates, so that work on every pixel can be done in memory
// instead of through the platform's per-pixel routines.
struct PixelView {
    std::uint8_t* firstRow = nullptr; // the bitmap's top row
    std::ptrdiff_t stride = 0;        // bytes from one row down to the next
    int width = 0;
    int height = 0;
    POINT origin = {}; // logical (x, y) is pixel (x + origin.x, y + origin.y)
    RECT clip = {};    // the logical rectangle that drawing may change

    explicit operator bool() const { return firstRow != nullptr; }
    // Whether the width x height rectangle at logical point `at` lies wholly in the bitmap.
    bool contains(POINT at, int areaWidth, int areaHeight) const {
        const int left = at.x + origin.x;
        const int top = at.y + origin.y;
        return left >= 0 && top >= 0 && left + areaWidth <= width && top + areaHeight <= height;
    }
    std::uint32_t* pixel(int x, int y) const {
        return reinterpret_cast<std::uint32_t*>(firstRow + stride * (y + origin.y)) + x + origin.x;
    }
};

// The pixels behind dc, with any GDI drawing still batched for them done. Empty unless dc
// is a memory context holding a 32-bit section that makeDibSection made (the only ones
// known to be top-down: the platform reports every DIB section's height as positive),
// maps one to one and clips to a single rectangle: the caller then draws through GDI.
PixelView topDownPixelsOf(HDC dc);
