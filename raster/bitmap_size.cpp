#include "raster/bitmap_size.h"

bool bitmapSize(HBITMAP bitmap, std::int32_t& width, std::int32_t& height) {
    BITMAP description = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof description, &description))
        return false;
    width = description.bmWidth;
    height = description.bmHeight;
    return width > 0 && height > 0;
}
