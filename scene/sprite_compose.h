#pragma once
#include "platform/gdi_handles.h"
#include "raster/dib_section.h"
#include "raster/pixel_view.h"

#include <windows.h>

#include <cstdint>
#include <optional>

// A colour-keyed sprite ready to be drawn many times. It is made once into a 32-bit
// picture whose alpha channel holds the key (0 where the sprite shows the key colour,
// black there too, and 255 elsewhere), so that a drawing is one blend of the platform's
// with per-pixel alpha and allocates nothing. The caller's sprite is only read while the
// composer is made.
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
    // The same onto pixels in memory; false when they cannot take it.
    bool composeInto(const PixelView& pixels, POINT position, int alpha) const;

  private:
    int width_ = 0;
    int height_ = 0;
    bool ready_ = false;
    TopDownBitmap keyed_;             // the sprite with the key in its alpha channel
    std::uint32_t* pixels_ = nullptr; // keyed_'s, top row first
    MemoryDC keyedDC_;
    std::optional<SelectedObject> selection_;
};

// Draws sprite onto dc at position as a SpriteComposer would, making and freeing the
// composer around the one drawing.
void composeSprite(HDC dc, POINT position, HBITMAP sprite, COLORREF keyColour, int alpha);
