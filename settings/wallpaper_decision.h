#pragma once
#include "settings/text_buffer.h"

#include <windows.h>
#include <cstddef>

// Where the saver keeps its own wallpaper: the data folder is the user's local
// application-data folder (created if absent) followed by string resource 2, and the file
// is the data folder followed by string resource 3.
struct OwnWallpaperLocation {
    char folder[kPathCapacity];
    char file[kPathCapacity];
};

// The one place where the wallpaper's path is formed, for the decision and the hand-off
// alike; owner (may be null) is the window for the folder query. False when the folder is
// not available or the path does not fit.
bool locateOwnWallpaper(HWND owner, OwnWallpaperLocation& location);

// The wallpaper file's path alone (locateOwnWallpaper's file), cut to capacity: false
// when it does not fit.
bool formOwnWallpaperPath(HWND owner, char* path, std::size_t capacity);

// The desktop's current wallpaper: "ConvertedWallpaper" when "Wallpaper" equals
// "OriginalWallpaper", else "Wallpaper". False when the desktop settings cannot be opened.
bool readCurrentWallpaper(char* path, std::size_t capacity);

// Whether path is the wallpaper picture (first field) of any file key of any type.
bool isCataloguePicture(const char* path);

// Whether an administrator's policy fixes the desktop background ("Prevent changing desktop
// background" or "Desktop Wallpaper", for the user or the machine).
bool backgroundFixedByPolicy();

// Whether the last frame becomes the wallpaper at close, and so whether the Scene
// resumes the stored position. Never while a policy fixes the background. Where the
// wallpaper is the system's transcoded copy of a picture, the picture it was made from is
// judged in its place ("TranscodedImageCache"; only where the system keeps none, and
// before Windows 8, the Active Desktop's "WallpaperSource").
bool shouldBuildWallpaper();
// The same decision as the given generation of the system makes it.
bool shouldBuildWallpaper(bool windows8OrLater);
