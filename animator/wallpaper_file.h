#pragma once
#include <windows.h>

// Writes the picture selected into surface (a memory context), its top-left width x height
// pixels, as a 24-bit
// BMP file at path, whole or not at all: the picture goes to a new file in the same folder
// first and replaces the file at path only once it is complete. A surface made by
// makeDibSection is converted straight from its pixels, any other bitmap through the
// platform's capture. False (path untouched, no file left behind) when the capture, the
// write or the replacement fails.
bool writeWallpaperFile(HDC surface, int width, int height, const char* path);
