#pragma once
#include "raster/pixel_view.h"

// Writes into rect of out (logical coordinates) the picture `from` with `to` blended over
// it at the constant weight (0..255), reading both from the points that correspond to
// rect's top-left corner: per channel (to x weight + from x (255 - weight) + 127) / 255,
// the effect of a BitBlt of from followed by an AlphaBlend of to with that constant alpha.
// Any of the views may be the same. rect is clipped to out's clip; false (and nothing
// written) when a view is empty, the weight is outside 0..255 or a source rectangle leaves
// its picture, so that the caller can draw through GDI instead.
bool crossFadeInto(const PixelView& out, RECT rect, const PixelView& from, POINT fromAt,
                   const PixelView& to, POINT toAt, int weight);

// Draws a premultiplied picture (width x height, 32-bit, rows top-down one after another)
// onto out with its top-left corner at `at` (logical coordinates), scaled by the constant
// alpha (0..255): per channel, source x alpha / 255 + old x (255 - a) / 255, each rounded,
// with a the source pixel's own alpha scaled likewise; the effect of AlphaBlend with
// AC_SRC_ALPHA. A pixel of alpha 0 and colour 0 leaves out as it is. Parts outside out's
// clip are left out. False (and nothing drawn) when out is empty or the alpha is outside
// 0..255.
bool blendPremultipliedInto(const PixelView& out, POINT at, const std::uint32_t* picture, int width,
                            int height, int alpha);
