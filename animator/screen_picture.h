#pragma once
#include "raster/offscreen_surface.h"

#include <windows.h>
#include <memory>

// What the screen shows in area (screen coordinates, which on several monitors span the
// virtual screen), layered windows included, as a picture in memory of area's size; null
// when it cannot be made. Taken from the screen itself: under desktop composition a
// window's own surface, before it has painted, is not what the screen shows behind it.
std::unique_ptr<OffscreenSurface> copyOfScreen(const RECT& area);
