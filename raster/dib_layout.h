#pragma once
#include <windows.h>
#include <cstdint>

// Row and colour-table arithmetic of the BMP format. 64-bit throughout, so that widths,
// heights and counts from a damaged or hostile header cannot wrap.

// Bytes of one pixel row: its bits rounded up to whole 32-bit words.
inline std::int64_t dibStride(std::int64_t width, std::uint32_t bitCount) {
    return ((width * bitCount + 31) >> 3) & ~std::int64_t{3};
}

// The colours a depth can index with a full table: 2, 16 or 256; 0 for every other depth.
inline std::uint32_t naturalColorCount(std::uint32_t bitCount) {
    switch (bitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

// Whether 2 to the power bitCount is at least colours.
inline bool depthCanIndex(std::uint32_t bitCount, std::uint64_t colours) {
    return bitCount >= 32 || (std::uint64_t{1} << bitCount) >= colours;
}

// Entries of the colour table an info header describes: biClrUsed (its low 16 bits) when
// set, else the depth's natural count.
inline std::uint32_t colorTableCount(const BITMAPINFOHEADER& info) {
    return info.biClrUsed ? (info.biClrUsed & 0xFFFF) : naturalColorCount(info.biBitCount);
}

inline std::int64_t rowCount(std::int32_t height) {
    return height < 0 ? -std::int64_t{height} : height;
}

// Bytes of pixel data an info header describes (rows of a top-down image counted as
// rows), or -1 when the header cannot describe an image (negative width).
inline std::int64_t pixelDataLength(const BITMAPINFOHEADER& info) {
    if (info.biBitCount == 0)
        return info.biSizeImage;
    if (info.biWidth < 0)
        return -1;
    return dibStride(info.biWidth, info.biBitCount) * rowCount(info.biHeight);
}

inline constexpr WORD kBitmapFileType = 0x4D42; // "BM"
inline constexpr DWORD kFileHeaderSize = 14;
inline constexpr DWORD kInfoHeaderSize = 40;
inline constexpr DWORD kMaskBytes = 12;
