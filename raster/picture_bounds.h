#pragma once
#include <cstdint>

// The largest picture the saver takes, refused before it is decoded (by the size its header
// claims) and before it is scaled (by the size the Scene would hold), so that a header of
// a few bytes cannot make it take the machine's memory. Sized for what a real catalogue
// needs on a 7,680 x 4,320 screen and no more: its widest picture, the clock's panorama
// of the day, is five screens wide (the slide show's strip holds four frames), and its
// tallest, the random hop's chart, under three screens high. At 32 bits a picture of the
// full bound holds 663 MB.
inline constexpr std::int64_t kLargestScreenWidth = 7680;
inline constexpr std::int64_t kLargestScreenHeight = 4320;
inline constexpr std::int64_t kMaxPictureWidth = 5 * kLargestScreenWidth;
inline constexpr std::int64_t kMaxPictureHeight = 3 * kLargestScreenHeight;
inline constexpr std::int64_t kMaxPicturePixels = 5 * kLargestScreenWidth * kLargestScreenHeight;

inline bool pictureSizeAllowed(std::int64_t width, std::int64_t height) {
    return width >= 0 && height >= 0 && width <= kMaxPictureWidth && height <= kMaxPictureHeight &&
           width * height <= kMaxPicturePixels;
}
