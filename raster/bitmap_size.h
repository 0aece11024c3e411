#pragma once
#include <windows.h>
#include <cstdint>

// A bitmap's width and height; false for no bitmap, or one without pixels.
bool bitmapSize(HBITMAP bitmap, std::int32_t& width, std::int32_t& height);
