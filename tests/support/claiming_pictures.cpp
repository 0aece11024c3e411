#include "tests/support/claiming_pictures.h"

#include <windows.h>

#include <cstring>
#include <gtest/gtest.h>

namespace {

void putLittle(PictureBytes& bytes, std::size_t at, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

} // namespace

PictureBytes bmpClaiming(std::int32_t width, std::int32_t height) {
    constexpr std::uint32_t kData = 64;
    constexpr std::uint32_t kColours = 256;
    const std::uint32_t offBits = 14 + 40 + 4 * kColours;
    PictureBytes bytes(offBits + kData, 0);
    bytes[0] = 'B', bytes[1] = 'M';
    putLittle(bytes, 2, offBits + kData, 4);
    putLittle(bytes, 10, offBits, 4);
    putLittle(bytes, 14, 40, 4);
    putLittle(bytes, 18, static_cast<std::uint32_t>(width), 4);
    putLittle(bytes, 22, static_cast<std::uint32_t>(height), 4);
    putLittle(bytes, 26, 1, 2);
    putLittle(bytes, 28, 8, 2);
    putLittle(bytes, 30, BI_RLE8, 4);
    putLittle(bytes, 34, kData, 4);
    // Runs of 255 pixels of colour 1, then the end of the picture.
    for (std::uint32_t at = offBits; at + 4 <= offBits + kData; at += 2)
        bytes[at] = 255, bytes[at + 1] = 1;
    bytes[offBits + kData - 2] = 0, bytes[offBits + kData - 1] = 1;
    return bytes;
}

PictureBytes jpegClaiming(PictureBytes bytes, std::uint16_t width, std::uint16_t height) {
    for (std::size_t at = 2; at + 9 < bytes.size();) {
        const std::uint8_t marker = bytes[at + 1];
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
            marker != 0xCC) {
            bytes[at + 5] = std::uint8_t(height >> 8), bytes[at + 6] = std::uint8_t(height);
            bytes[at + 7] = std::uint8_t(width >> 8), bytes[at + 8] = std::uint8_t(width);
            return bytes;
        }
        at += 2 + (bytes[at + 2] << 8 | bytes[at + 3]);
    }
    ADD_FAILURE() << "no frame header in the JPEG";
    return bytes;
}

PictureBytes gifClaiming(PictureBytes bytes, std::uint16_t screenWidth, std::uint16_t screenHeight,
                         std::uint16_t left, std::uint16_t width) {
    if (bytes.size() < 40 || bytes[27] != 0x2C) {
        ADD_FAILURE() << "no image descriptor at 27";
        return bytes;
    }
    putLittle(bytes, 6, screenWidth, 2);
    putLittle(bytes, 8, screenHeight, 2);
    putLittle(bytes, 28, left, 2);
    putLittle(bytes, 32, width, 2);
    return bytes;
}
