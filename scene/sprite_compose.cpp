#include "scene/sprite_compose.h"

#include <algorithm>

namespace {

// Monochrome-to-colour copies take a 0 bit as the destination's text colour and a 1 bit
// as its background colour: black and white for the mask chain, whatever the context had.
class MaskColours {
  public:
    explicit MaskColours(HDC dc)
        : dc_(dc), text_(SetTextColor(dc, RGB(0, 0, 0))),
          background_(SetBkColor(dc, RGB(255, 255, 255))) {}
    ~MaskColours() {
        SetTextColor(dc_, text_);
        SetBkColor(dc_, background_);
    }
    MaskColours(const MaskColours&) = delete;
    MaskColours& operator=(const MaskColours&) = delete;

  private:
    HDC dc_;
    COLORREF text_;
    COLORREF background_;
};

} // namespace

SpriteComposer::SpriteComposer(HDC compatibleWith, HBITMAP sprite, COLORREF keyColour) {
    BITMAP description = {};
    if (!sprite || !GetObjectA(sprite, sizeof description, &description) ||
        description.bmWidth <= 0 || description.bmHeight <= 0)
        return;
    width_ = description.bmWidth;
    height_ = description.bmHeight;
    sprite_.emplace(compatibleWith, sprite, false);
    mask_.emplace(compatibleWith, CreateBitmap(width_, height_, 1, 1, nullptr), true);
    inverse_.emplace(compatibleWith, CreateBitmap(width_, height_, 1, 1, nullptr), true);
    ink_.emplace(compatibleWith, CreateCompatibleBitmap(compatibleWith, width_, height_), true);
    blend_.emplace(compatibleWith, CreateCompatibleBitmap(compatibleWith, width_, height_), true);
    if (!*sprite_ || !*mask_ || !*inverse_ || !*ink_ || !*blend_)
        return;

    // 1 (white) where the sprite shows the key colour: the colour-to-monochrome copy.
    const COLORREF oldBackground = SetBkColor(sprite_->get(), keyColour);
    BitBlt(mask_->get(), 0, 0, width_, height_, sprite_->get(), 0, 0, SRCCOPY);
    SetBkColor(sprite_->get(), oldBackground);
    BitBlt(inverse_->get(), 0, 0, width_, height_, mask_->get(), 0, 0, NOTSRCCOPY);
    // The sprite at full strength where it is opaque, black elsewhere.
    BitBlt(ink_->get(), 0, 0, width_, height_, sprite_->get(), 0, 0, SRCCOPY);
    {
        MaskColours colours(ink_->get());
        BitBlt(ink_->get(), 0, 0, width_, height_, inverse_->get(), 0, 0, SRCAND);
    }
    ready_ = true;
}

// The picture keeps its pixels where the sprite shows the key colour (AND with the mask)
// and takes the blended sprite elsewhere (OR with the blend, black where the key is).
void SpriteComposer::compose(HDC dc, POINT position, int alpha) const {
    if (!ready_ || alpha <= 0)
        return;
    alpha = std::min(alpha, 255);
    const int px = position.x;
    const int py = position.y;
    HDC over = ink_->get();
    if (alpha < 255) {
        HDC blend = blend_->get();
        BitBlt(blend, 0, 0, width_, height_, dc, px, py, SRCCOPY);
        const BLENDFUNCTION function = {AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0};
        AlphaBlend(blend, 0, 0, width_, height_, sprite_->get(), 0, 0, width_, height_, function);
        MaskColours colours(blend);
        BitBlt(blend, 0, 0, width_, height_, inverse_->get(), 0, 0, SRCAND);
        over = blend;
    }
    MaskColours colours(dc);
    BitBlt(dc, px, py, width_, height_, mask_->get(), 0, 0, SRCAND);
    BitBlt(dc, px, py, width_, height_, over, 0, 0, SRCPAINT);
}

void composeSprite(HDC dc, POINT position, HBITMAP sprite, COLORREF keyColour, int alpha) {
    if (alpha <= 0 || !sprite)
        return;
    SpriteComposer(dc, sprite, keyColour).compose(dc, position, alpha);
}
