#include "scene/sprite_compose.h"
#include "raster/dib_section.h"
#include "raster/pixel_blend.h"

#include <algorithm>
#include <cstdint>

SpriteComposer::SpriteComposer(HDC compatibleWith, HBITMAP sprite, COLORREF keyColour) {
    BITMAP description = {};
    if (!sprite || !GetObjectA(sprite, sizeof description, &description) ||
        description.bmWidth <= 0 || description.bmHeight <= 0)
        return;
    width_ = description.bmWidth;
    height_ = description.bmHeight;
    keyed_ = makeDibSection(width_, height_, &pixels_);
    keyedDC_ = MemoryDC(compatibleWith);
    if (!keyed_ || !pixels_ || !keyedDC_)
        return;
    selection_.emplace(keyedDC_.get(), keyed_.get());
    MemoryDC spriteDC(compatibleWith);
    SelectedObject spriteSelection(spriteDC.get(), sprite);
    if (!*selection_ || !spriteSelection)
        return;
    BitBlt(keyedDC_.get(), 0, 0, width_, height_, spriteDC.get(), 0, 0, SRCCOPY);
    GdiFlush();
    // Premultiplied with alpha 255 the colours stay as they are; the key becomes fully
    // transparent black.
    const std::uint32_t key = (static_cast<std::uint32_t>(GetRValue(keyColour)) << 16) |
                              (static_cast<std::uint32_t>(GetGValue(keyColour)) << 8) |
                              GetBValue(keyColour);
    for (std::size_t i = 0; i < static_cast<std::size_t>(width_) * height_; ++i)
        pixels_[i] = (pixels_[i] & 0xFFFFFF) == key ? 0 : (pixels_[i] | 0xFF000000u);
    ready_ = true;
}

bool SpriteComposer::composeInto(const PixelView& pixels, POINT position, int alpha) const {
    if (!ready_)
        return false;
    if (alpha <= 0)
        return true; // nothing to draw, and nothing left for a caller to draw either
    return blendPremultipliedInto(pixels, position, pixels_, width_, height_, std::min(alpha, 255));
}

void SpriteComposer::compose(HDC dc, POINT position, int alpha) const {
    if (!ready_ || alpha <= 0)
        return;
    alpha = std::min(alpha, 255);
    // Onto a picture in memory the blend is done there: the platform's takes several
    // times as long, at every frame the sprite changes.
    if (composeInto(topDownPixelsOf(dc), position, alpha))
        return;
    const BLENDFUNCTION function = {AC_SRC_OVER, 0, static_cast<BYTE>(alpha), AC_SRC_ALPHA};
    // gdi32's own blend, which msimg32's AlphaBlend forwards to: msimg32 is no KnownDLL,
    // and an import of it would take a copy planted beside the program.
    GdiAlphaBlend(dc, position.x, position.y, width_, height_, keyedDC_.get(), 0, 0, width_,
                  height_, function);
}

void composeSprite(HDC dc, POINT position, HBITMAP sprite, COLORREF keyColour, int alpha) {
    if (alpha <= 0 || !sprite)
        return;
    SpriteComposer(dc, sprite, keyColour).compose(dc, position, alpha);
}
