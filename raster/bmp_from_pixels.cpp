#include "raster/bmp_from_pixels.h"
#include "platform/kernel_handles.h"
#include "raster/dib_layout.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kBandBytes = 256 * 1024;

bool writeAll(HANDLE file, const void* bytes, std::size_t length) {
    DWORD written = 0;
    return WriteFile(file, bytes, static_cast<DWORD>(length), &written, nullptr) &&
           written == length;
}

} // namespace

bool writePixelsAsBmp(const PixelView& pixels, int width, int height, const char* path) {
    if (!pixels || !path || width <= 0 || height <= 0 ||
        !pixels.contains(POINT{0, 0}, width, height))
        return false;
    const std::size_t stride = static_cast<std::size_t>(dibStride(width, 24));
    const std::uint64_t imageSize = std::uint64_t{stride} * static_cast<std::uint64_t>(height);
    if (imageSize + kFileHeaderSize + kInfoHeaderSize >= UINT32_MAX)
        return false;

    BITMAPINFOHEADER info = {};
    info.biSize = kInfoHeaderSize;
    info.biWidth = width;
    info.biHeight = height; // bottom-up
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(imageSize);
    BITMAPFILEHEADER header = {};
    header.bfType = kBitmapFileType;
    header.bfSize = static_cast<DWORD>(imageSize + kFileHeaderSize + kInfoHeaderSize);
    header.bfOffBits = kFileHeaderSize + kInfoHeaderSize;

    KernelHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || !writeAll(file.get(), &header, kFileHeaderSize) ||
        !writeAll(file.get(), &info, kInfoHeaderSize))
        return false;
    // The rows go bottom row first, three bytes a pixel, each padded with zeros to whole
    // words.
    const std::size_t bandRows = std::max<std::size_t>(1, kBandBytes / stride);
    std::vector<std::uint8_t> band(bandRows * stride, 0);
    for (int bottom = height; bottom > 0;) {
        const int rows = static_cast<int>(std::min<std::size_t>(bandRows, bottom));
        for (int i = 0; i < rows; ++i) {
            const std::uint32_t* from = pixels.pixel(0, bottom - 1 - i);
            std::uint8_t* to = band.data() + static_cast<std::size_t>(i) * stride;
            for (int x = 0; x < width; ++x, to += 3) {
                to[0] = static_cast<std::uint8_t>(from[x]);
                to[1] = static_cast<std::uint8_t>(from[x] >> 8);
                to[2] = static_cast<std::uint8_t>(from[x] >> 16);
            }
        }
        if (!writeAll(file.get(), band.data(), static_cast<std::size_t>(rows) * stride))
            return false;
        bottom -= rows;
    }
    return true;
}
