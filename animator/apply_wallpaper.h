#pragma once
#include <windows.h>

struct IActiveDesktop;

// Makes the file the desktop wallpaper with the display style (WPSTYLE_CENTER, _TILE,
// _STRETCH or _SPAN), once: through the Active Desktop object where it takes and applies
// it, otherwise through the platform's wallpaper setting (stored in the user profile and
// broadcast) with the two style values of "Control Panel\desktop" that it reads. True when
// the wallpaper was set; otherwise the desktop's values are as they were.
bool applyWallpaper(const char* path, DWORD style);
// The two ways the system sets a wallpaper: the system's, or a test's that refuses.
struct WallpaperSetters {
    IActiveDesktop* activeDesktop = nullptr; // null: none
    BOOL(WINAPI* systemParametersInfo)(UINT, UINT, PVOID, UINT) = SystemParametersInfoA;
};
bool applyWallpaper(const char* path, DWORD style, const WallpaperSetters& setters);
