#pragma once
#include <windows.h>

#include <vector>

// A monitor's rectangle (on the virtual screen, or within the saver window) and whether it
// is the primary monitor.
struct MonitorArea {
    RECT rect;
    bool primary;
};

// The display monitors as the platform lists them, on the virtual screen (a monitor left
// of or above the primary lies at negative coordinates).
std::vector<MonitorArea> displayMonitors();

// The monitors' parts of a window that lies at windowRect on the virtual screen, in the
// window's own coordinates (its top-left corner is 0, 0), in the given order; monitors
// that do not reach into the window are left out. When no monitor does, the whole window
// is one area, the primary.
std::vector<MonitorArea> layOutMonitorAreas(const RECT& windowRect,
                                            const std::vector<MonitorArea>& monitors);
