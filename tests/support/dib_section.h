#pragma once
#include "platform/gdi_handles.h"
#include "tests/support/pixels.h"

#include <windows.h>
#include <cstdint>

// The format of a 32-bit top-down DIB of width x height, for CreateDIBSection and
// GetDIBits.
BITMAPINFO topDownDibInfo(int width, int height);

// A 32-bit top-down DIB section, its pixels (0x00RRGGBB, row after row) in *pixels when
// asked for: pictures that tests can paint and read directly.
BitmapHandle makeDibSection(int width, int height, std::uint32_t** pixels = nullptr);

// A DIB section as above holding the given pixels, selected nowhere (as a sprite must be).
// Throws when the platform cannot make one.
BitmapHandle makeDibBitmap(int width, int height, const PixelFunction& colour);
