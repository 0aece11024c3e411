#pragma once
#include "tests/support/pixels.h"

#include <windows.h>
#include <cstddef>
#include <string>
#include <vector>

// Writes a 24-bit bottom-up BMP file whose pixel (x, y) is colour(x, y); throws when the
// file cannot be written.
void writeBmp(const std::string& path, int width, int height, const PixelFunction& colour);

// The length of a whole 24-bit BMP file of width x height (54 header bytes, rows padded
// to whole 32-bit words).
std::size_t bmpFileLength(int width, int height);

// A BMP file as read back: its size, its depth and, for a 24-bit one, its pixel rows, top
// row first.
struct BmpPicture {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::vector<std::vector<COLORREF>> rows;
};
// False when the file is missing or not a whole BMP file.
bool readBmp(const std::string& path, BmpPicture& picture);
