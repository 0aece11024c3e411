#include "tests/support/bmp_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace {

std::size_t rowStride(int width) {
    return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t(3);
}

} // namespace

std::size_t bmpFileLength(int width, int height) {
    return sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) +
           rowStride(width) * static_cast<std::size_t>(height);
}

void writeBmp(const std::string& path, int width, int height, const PixelFunction& colour) {
    const std::size_t stride = rowStride(width);
    const DWORD imageSize = static_cast<DWORD>(stride * height);
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + imageSize;
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = imageSize;
    std::vector<unsigned char> pixels(imageSize, 0);
    for (int y = 0; y < height; ++y) {
        unsigned char* row = pixels.data() + static_cast<std::size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            COLORREF c = colour(x, y);
            row[x * 3] = GetBValue(c);
            row[x * 3 + 1] = GetGValue(c);
            row[x * 3 + 2] = GetRValue(c);
        }
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        throw std::runtime_error("cannot write " + path);
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(pixels.data(), 1, pixels.size(), out);
    std::fclose(out);
}

bool readBmp(const std::string& path, BmpPicture& picture) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::vector<std::uint8_t> in;
    std::uint8_t buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        in.insert(in.end(), buffer, buffer + got);
    std::fclose(file);
    BITMAPFILEHEADER fileHeader;
    BITMAPINFOHEADER info;
    if (in.size() < sizeof fileHeader + sizeof info || in[0] != 'B' || in[1] != 'M')
        return false;
    std::memcpy(&fileHeader, in.data(), sizeof fileHeader);
    std::memcpy(&info, in.data() + sizeof fileHeader, sizeof info);
    picture.width = info.biWidth;
    picture.height = info.biHeight < 0 ? -info.biHeight : info.biHeight;
    picture.bitsPerPixel = info.biBitCount;
    if (picture.bitsPerPixel != 24 || picture.width <= 0)
        return true;
    const std::size_t stride = rowStride(picture.width);
    if (fileHeader.bfOffBits + stride * picture.height > in.size())
        return false;
    picture.rows.assign(picture.height, std::vector<COLORREF>(picture.width));
    for (int stored = 0; stored < picture.height; ++stored) {
        int y = info.biHeight < 0 ? stored : picture.height - 1 - stored;
        const std::uint8_t* pixel = in.data() + fileHeader.bfOffBits + stride * stored;
        for (int x = 0; x < picture.width; ++x, pixel += 3)
            picture.rows[y][x] = RGB(pixel[2], pixel[1], pixel[0]);
    }
    return true;
}
