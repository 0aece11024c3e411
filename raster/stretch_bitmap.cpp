#include "platform/gdi_handles.h"
#include "raster/picture_file.h"

HBITMAP stretchBitmap(HDC dc, HBITMAP source, int width, int height, int stretchMode) {
    MemoryDC sourceDC(dc);
    SelectedObject sourceSelection(sourceDC.get(), source);
    BITMAP description = {};
    GetObjectA(source, sizeof description, &description);

    MemoryDC targetDC(dc);
    // Compatible with dc itself: a memory context would give a monochrome bitmap.
    HBITMAP target = CreateCompatibleBitmap(dc, width, height);
    SelectedObject targetSelection(targetDC.get(), target);
    int oldMode = SetStretchBltMode(targetDC.get(), stretchMode);
    // HALFTONE needs the brush origin set after the mode.
    SetBrushOrgEx(targetDC.get(), 0, 0, nullptr);
    StretchBlt(targetDC.get(), 0, 0, width, height, sourceDC.get(), 0, 0, description.bmWidth,
               description.bmHeight, SRCCOPY);
    if (oldMode)
        SetStretchBltMode(targetDC.get(), oldMode);
    return target;
}
