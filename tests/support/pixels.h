#pragma once
#include <windows.h>
#include <cstdint>
#include <functional>

// The two colour layouts the tests meet: COLORREF (0x00BBGGRR, what GDI takes and gives)
// and 0x00RRGGBB (a 32-bit DIB pixel).

// 0x00RRGGBB
constexpr std::uint32_t rgb(unsigned r, unsigned g, unsigned b) {
    return (r << 16) | (g << 8) | b;
}

constexpr std::uint32_t dibPixel(COLORREF colour) {
    return rgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

constexpr COLORREF colorRef(std::uint32_t pixel) {
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

// Channel-wise comparison allowing `tolerance` steps.
inline bool nearColour(COLORREF a, COLORREF b, int tolerance) {
    const auto within = [tolerance](int x, int y) {
        return x - y <= tolerance && y - x <= tolerance;
    };
    return within(GetRValue(a), GetRValue(b)) && within(GetGValue(a), GetGValue(b)) &&
           within(GetBValue(a), GetBValue(b));
}

// The colour of pixel (x, y) of a picture that a test makes.
using PixelFunction = std::function<COLORREF(int x, int y)>;
