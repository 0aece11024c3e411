#pragma once
#include <windows.h>

#include <string>

// Where the saver leaves what outlives a run.
inline const char* const kDesktopKey = "Control Panel\\desktop";
inline const char* const kPreferenceKey = "Software\\Tolvane\\OrvikSaver";

// The saver's own wallpaper file in the user's local application-data folder.
std::string ownWallpaperFile();
// A text value under HKEY_CURRENT_USER; empty when absent or not text.
std::string readRegistryText(const std::string& subKey, const std::string& name);
// A window handle as the command line writes it.
std::string decimal(HWND window);
