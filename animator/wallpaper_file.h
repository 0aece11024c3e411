#pragma once
#include <windows.h>

// Writes the bitmap's width x height pixels as a 24-bit BMP file at path, whole or not at
// all: the picture goes to a new file in the same folder first and replaces the file at
// path only once it is complete. False (path untouched, no file left behind) when the
// capture, the write or the replacement fails. The bitmap may stay selected into a
// memory context.
bool writeWallpaperFile(HBITMAP bitmap, int width, int height, const char* path);
