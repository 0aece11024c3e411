#pragma once
#include "tests/support/pixels.h"

#include <windows.h>
#include <cstdint>
#include <vector>

// Pixels read back through a DC, 0x00RRGGBB.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // top-down rows
    std::uint32_t at(int x, int y) const { return pixels[y * width + x]; }
    bool all(std::uint32_t colour) const;
    bool operator==(const Picture&) const = default;
};

// A window's client area, as its DC shows it now.
Picture capture(HWND window);
// A bitmap's top-left width x height (it must be selected nowhere).
Picture captureBitmap(HBITMAP bitmap, int width, int height);
// One pixel of a window, as its DC shows it now.
std::uint32_t pixelAt(HWND window, int x, int y);
