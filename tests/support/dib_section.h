#pragma once
#include "platform/gdi_handles.h"

#include <cstdint>

// A 32-bit top-down DIB section, its pixels (0x00RRGGBB, row after row) in *pixels when
// asked for: pictures that tests can paint and read directly.
BitmapHandle makeDibSection(int width, int height, std::uint32_t** pixels = nullptr);
