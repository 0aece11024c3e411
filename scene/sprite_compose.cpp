#include "scene/sprite_compose.h"
#include "platform/gdi_handles.h"

#include <algorithm>

// A mask chain: the blended sprite where it is opaque, the old picture where it shows the
// key colour, joined with AND and OR. Monochrome-to-colour copies take a 0 bit as the
// destination's text colour (black) and a 1 bit as its background colour (white), the
// defaults of a fresh memory context.
void composeSprite(HDC dc, POINT position, HBITMAP sprite, COLORREF keyColour, int alpha) {
    if (alpha <= 0 || !sprite)
        return;
    alpha = std::min(alpha, 255);
    BITMAP description = {};
    if (!GetObjectA(sprite, sizeof description, &description))
        return;
    const int w = description.bmWidth;
    const int h = description.bmHeight;
    const int px = position.x;
    const int py = position.y;

    BitmapHandle invMask(CreateBitmap(w, h, 1, 1, nullptr));
    BitmapHandle mask(CreateBitmap(w, h, 1, 1, nullptr));
    BitmapHandle work(CreateCompatibleBitmap(dc, w, h));
    BitmapHandle blend(CreateCompatibleBitmap(dc, w, h));
    MemoryDC spriteDC(dc);
    MemoryDC invMaskDC(dc);
    MemoryDC maskDC(dc);
    MemoryDC workDC(dc);
    MemoryDC blendDC(dc);
    SelectedObject spriteSelection(spriteDC.get(), sprite);
    SelectedObject invMaskSelection(invMaskDC.get(), invMask.get());
    SelectedObject maskSelection(maskDC.get(), mask.get());
    SelectedObject workSelection(workDC.get(), work.get());
    SelectedObject blendSelection(blendDC.get(), blend.get());
    if (!spriteSelection || !invMaskSelection || !maskSelection || !workSelection ||
        !blendSelection)
        return;

    // 1 (white) where the sprite shows the key colour.
    COLORREF oldBackground = SetBkColor(spriteDC.get(), keyColour);
    BitBlt(maskDC.get(), 0, 0, w, h, spriteDC.get(), 0, 0, SRCCOPY);
    SetBkColor(spriteDC.get(), oldBackground);
    BitBlt(invMaskDC.get(), 0, 0, w, h, maskDC.get(), 0, 0, NOTSRCCOPY);

    BitBlt(blendDC.get(), 0, 0, w, h, dc, px, py, SRCCOPY);
    BLENDFUNCTION function = {AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0};
    AlphaBlend(blendDC.get(), 0, 0, w, h, spriteDC.get(), 0, 0, w, h, function);
    BitBlt(blendDC.get(), 0, 0, w, h, invMaskDC.get(), 0, 0, SRCAND);

    BitBlt(workDC.get(), 0, 0, w, h, dc, px, py, SRCCOPY);
    BitBlt(workDC.get(), 0, 0, w, h, maskDC.get(), 0, 0, SRCAND);
    BitBlt(workDC.get(), 0, 0, w, h, blendDC.get(), 0, 0, SRCPAINT);
    BitBlt(dc, px, py, w, h, workDC.get(), 0, 0, SRCCOPY);
}
