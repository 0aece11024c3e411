#pragma once
#include "raster/offscreen_surface.h"

#include <windows.h>
#include <memory>
#include <string>
#include <vector>

// The GDI device names ("\\.\DISPLAY1") of the monitors that show advanced colour (HDR)
// now; empty where the system cannot tell (before Windows 10, or under Wine).
std::vector<std::string> advancedColorMonitors();

// What the screen shows in area (screen coordinates, which on several monitors span the
// virtual screen), layered windows included, as a picture in memory of area's size; null
// when it cannot be made. Taken from the screen itself: under desktop composition a
// window's own surface, before it has painted, is not what the screen shows behind it.
// A GDI copy of a monitor in advanced colour comes out washed out, and a fade from it
// would begin with a jump: such a monitor's part is black instead.
std::unique_ptr<OffscreenSurface> copyOfScreen(const RECT& area);
// The same with the given monitors taken as the ones in advanced colour.
std::unique_ptr<OffscreenSurface> copyOfScreen(const RECT& area,
                                               const std::vector<std::string>& advancedColor);
