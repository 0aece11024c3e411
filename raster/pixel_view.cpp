#include "raster/pixel_view.h"
#include "raster/dib_section.h"

PixelView topDownPixelsOf(HDC dc) {
    if (!dc || GetObjectType(dc) != OBJ_MEMDC || GetMapMode(dc) != MM_TEXT ||
        GetGraphicsMode(dc) != GM_COMPATIBLE)
        return {};
    DIBSECTION section = {};
    const HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
    if (!isTopDownSection(bitmap) ||
        GetObjectA(bitmap, sizeof section, &section) != sizeof section || !section.dsBm.bmBits ||
        section.dsBm.bmBitsPixel != 32 || section.dsBmih.biCompression != BI_RGB ||
        section.dsBm.bmWidth <= 0 || section.dsBm.bmHeight <= 0)
        return {};
    POINT viewport = {};
    POINT window = {};
    RECT clip = {};
    if (!GetViewportOrgEx(dc, &viewport) || !GetWindowOrgEx(dc, &window) ||
        GetClipBox(dc, &clip) != SIMPLEREGION)
        return {};
    PixelView view;
    view.width = section.dsBm.bmWidth;
    view.height = section.dsBm.bmHeight;
    view.stride = section.dsBm.bmWidthBytes;
    view.firstRow = static_cast<std::uint8_t*>(section.dsBm.bmBits);
    view.origin = {viewport.x - window.x, viewport.y - window.y};
    view.clip = clip;
    // Drawing that GDI still holds back would land after ours.
    GdiFlush();
    return view;
}
