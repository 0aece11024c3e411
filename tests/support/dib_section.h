#pragma once
#include "platform/gdi_handles.h"
#include "raster/dib_section.h"
#include "tests/support/pixels.h"

#include <windows.h>
#include <cstdint>

// A DIB section as above holding the given pixels, selected nowhere (as a sprite must be).
// Throws when the platform cannot make one.
BitmapHandle makeDibBitmap(int width, int height, const PixelFunction& colour);
