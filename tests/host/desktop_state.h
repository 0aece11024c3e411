#pragma once
#include <windows.h>

#include <string>

// Where the saver leaves what outlives a run.
inline const char* const kPreferenceKey = "Software\\Tolvane\\OrvikSaver";

// The saver's own wallpaper file in the user's local application-data folder.
std::string ownWallpaperFile();
// A window handle as the command line writes it.
std::string decimal(HWND window);
