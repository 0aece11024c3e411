#include "raster/dib_image.h"
#include "raster/dib_layout.h"

bool DibImage::captureBitmap(HBITMAP bitmap, int width, int height) {
    if (!create(width, height, 24, nullptr, FillNone, 0, 0)) {
        setErrorCode(DIB_ERROR_CAPTURE);
        return false;
    }
    WindowDC screen(nullptr);
    MemoryDC memory(screen.get());
    // The platform converts the bitmap's rows into the 24-bit layout the header describes.
    int rows = GetDIBits(memory.get(), bitmap, 0, static_cast<UINT>(rowCount(height)), bits_,
                         reinterpret_cast<BITMAPINFO*>(infoHeader_), DIB_RGB_COLORS);
    return rows > 0;
}
