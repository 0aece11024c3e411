#pragma once
#include "platform/gdi_handles.h"
#include "raster/dib_section.h"
#include "tests/support/pixels.h"

#include <windows.h>
#include <cstdint>

// A 32-bit bottom-up DIB section holding the given pixels, selected nowhere (as a sprite
// must be): a picture as the decoder delivers one, whose rows lie in memory the other way
// round from the Scene's own surfaces. Throws when the platform cannot make one.
BitmapHandle makeDibBitmap(int width, int height, const PixelFunction& colour);
