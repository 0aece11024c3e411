#pragma once
#include "raster/pixel_view.h"

// Writes the top-left width x height pixels of a top-down 32-bit picture in memory as a
// complete 24-bit BMP file at path (created, or emptied first), converting a band of rows
// at a time into a small buffer: no copy of the whole picture is made, and no memory the
// size of it is touched for the first time. The file is the one DibImage writes after a
// capture of the same pixels. False when the picture is smaller than that or a step fails;
// the file may then be incomplete.
bool writePixelsAsBmp(const PixelView& pixels, int width, int height, const char* path);
