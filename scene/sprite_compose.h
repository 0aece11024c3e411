#pragma once
#include "platform/gdi_handles.h"

#include <windows.h>

#include <optional>

// A colour-keyed sprite ready to be drawn many times: its masks, the sprite with its key
// pixels blacked out, and the surface that a blend needs are made once, compatible with a
// device context, so that a drawing allocates nothing. The sprite stays selected into the
// composer's own context for the composer's life and must be selected nowhere else.
class SpriteComposer {
  public:
    SpriteComposer() = default;
    SpriteComposer(HDC compatibleWith, HBITMAP sprite, COLORREF keyColour);
    SpriteComposer(const SpriteComposer&) = delete;
    SpriteComposer& operator=(const SpriteComposer&) = delete;

    // Whether everything could be made.
    explicit operator bool() const { return ready_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Draws the sprite onto dc with its top-left corner at position: pixels of the key
    // colour stay transparent, all others are blended over what dc shows with the constant
    // alpha (0..255): (sprite x alpha + old x (255 - alpha)) / 255 per channel. Alpha 0
    // draws nothing; 255 copies the sprite's pixels exactly.
    void compose(HDC dc, POINT position, int alpha) const;

  private:
    // A bitmap selected into a memory context of its own; the bitmap may be the caller's.
    struct Surface {
        BitmapHandle owned;
        MemoryDC dc;
        SelectedObject selection;
        Surface(HDC compatibleWith, HBITMAP bitmap, bool own)
            : owned(own ? bitmap : nullptr), dc(compatibleWith), selection(dc.get(), bitmap) {}
        explicit operator bool() const { return dc && selection; }
        HDC get() const { return dc.get(); }
    };

    int width_ = 0;
    int height_ = 0;
    bool ready_ = false;
    std::optional<Surface> sprite_;  // the caller's sprite
    std::optional<Surface> mask_;    // 1 (white) where the sprite shows the key colour
    std::optional<Surface> inverse_; // 1 where the sprite is opaque
    std::optional<Surface> ink_;     // the sprite, black where it shows the key colour
    std::optional<Surface> blend_;   // the picture under the sprite, blended
};

// Draws sprite onto dc at position as a SpriteComposer would, making and freeing the
// composer around the one drawing.
void composeSprite(HDC dc, POINT position, HBITMAP sprite, COLORREF keyColour, int alpha);
