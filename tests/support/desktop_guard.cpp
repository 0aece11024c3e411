#include "tests/support/desktop_guard.h"

#include <windows.h>

std::string currentDesktopWallpaper() {
    char path[MAX_PATH * 2] = "";
    SystemParametersInfoA(SPI_GETDESKWALLPAPER, sizeof path, path, 0);
    return path;
}

DesktopGuard::DesktopGuard() : wallpaper_(currentDesktopWallpaper()) {}

DesktopGuard::~DesktopGuard() {
    // Only the setting in force, and only when it changed (setting it redraws the
    // desktop); the stored value comes back with the registry values.
    if (currentDesktopWallpaper() != wallpaper_)
        SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(wallpaper_.c_str()), 0);
}
