#pragma once
#include "platform/gdi_handles.h"

#include <windows.h>
#include <cstdint>

// The format of a 32-bit top-down DIB of width x height, for CreateDIBSection and
// GetDIBits.
BITMAPINFO topDownDibInfo(int width, int height);

// A 32-bit top-down DIB section, its pixels (row after row) in *pixels when asked for:
// a picture whose pixels can be read and written directly. Null when the platform cannot
// make one.
BitmapHandle makeDibSection(int width, int height, std::uint32_t** pixels = nullptr);
