#pragma once
#include <cstdint>
#include <vector>

// Pictures of a few hundred bytes whose headers claim far more pixels than they hold.
using PictureBytes = std::vector<std::uint8_t>;

// A run-length (BI_RLE8) BMP of width x height (a negative height: top-down) whose 64
// bytes of data claim it all.
PictureBytes bmpClaiming(std::int32_t width, std::int32_t height);

// The JPEG given with its first frame header's size set to width x height.
PictureBytes jpegClaiming(PictureBytes jpeg, std::uint16_t width, std::uint16_t height);

// The GIF given (a logical screen and one image descriptor at byte 27, as the raster
// fixture split.gif has them) with its screen's size and its image's left edge and width
// set as given.
PictureBytes gifClaiming(PictureBytes gif, std::uint16_t screenWidth, std::uint16_t screenHeight,
                         std::uint16_t left, std::uint16_t width);
