#pragma once
#include <windows.h>

// Makes the file the desktop wallpaper with the display style (WPSTYLE_CENTER, _TILE,
// _STRETCH or _SPAN): through the Active Desktop object where there is one, then the two style
// values of "Control Panel\desktop", then the platform's wallpaper setting, stored in the
// user profile and broadcast.
void applyWallpaper(const char* path, DWORD style);
