#pragma once
#include <windows.h>
#include <cstddef>

// String resources that name the saver's own wallpaper file.
inline constexpr UINT kDataFolderStringId = 2;    // "\Tolvane\OrvikSaver"
inline constexpr UINT kWallpaperFileStringId = 3; // "\CreatedFileByTolvaneScreenSaver.bmp"

// The local application-data folder (created if absent), then the data folder, then the
// file name. False when the folder is not available or the path does not fit.
bool formOwnWallpaperPath(HWND owner, char* path, std::size_t capacity);

// The desktop's current wallpaper: "ConvertedWallpaper" when "Wallpaper" equals
// "OriginalWallpaper", else "Wallpaper". False when the desktop settings cannot be opened.
bool readCurrentWallpaper(char* path, std::size_t capacity);

// Whether path is the wallpaper picture (first field) of any file key of any type.
bool isCataloguePicture(const char* path);

// Whether the last frame becomes the wallpaper at close, and so whether the Scene
// resumes the stored position.
bool shouldBuildWallpaper();
