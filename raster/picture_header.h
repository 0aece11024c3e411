#pragma once
#include <cstdint>

// The size that a picture's headers claim, read before any decoder sees the bytes: the BMP
// info header, the GIF screen and every image descriptor (an image reaching past the
// screen counts to its far edge), the JPEG frame header, the PNG header. Known is false
// for bytes of another format or too short to say; a decoder then judges them itself.
struct ClaimedSize {
    bool known = false;
    std::int64_t width = 0;
    std::int64_t height = 0;
};

ClaimedSize claimedPictureSize(const std::uint8_t* bytes, std::uint64_t size);
