#include "tests/host/test_pictures.h"

#include <cstdint>
#include <cstdio>

COLORREF backgroundColour(int column) {
    return RGB(column & 0xFF, (column >> 8) * 32, 0x80);
}

int backgroundColumn(COLORREF colour) {
    if (GetBValue(colour) != 0x80 || GetGValue(colour) % 32 != 0)
        return -1;
    return GetRValue(colour) + 256 * (GetGValue(colour) / 32);
}

namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(value & 0xFF);
    out.push_back((value >> 8) & 0xFF);
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

std::uint32_t get32(const std::vector<std::uint8_t>& in, std::size_t at) {
    return in[at] | in[at + 1] << 8 | in[at + 2] << 16 |
           static_cast<std::uint32_t>(in[at + 3]) << 24;
}

} // namespace

template <typename ColourAt>
void writeBmp(const std::string& path, int width, int height, ColourAt colourAt) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(height);
    std::vector<std::uint8_t> out;
    out.reserve(54 + imageSize);
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + imageSize);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1);
    put16(out, 24);
    put32(out, BI_RGB);
    put32(out, imageSize);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        std::size_t rowStart = out.size();
        for (int x = 0; x < width; ++x) {
            COLORREF colour = colourAt(x, y);
            out.push_back(GetBValue(colour));
            out.push_back(GetGValue(colour));
            out.push_back(GetRValue(colour));
        }
        out.resize(rowStart + stride, 0);
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return;
    std::fwrite(out.data(), 1, out.size(), file);
    std::fclose(file);
}

void writeBackgroundBmp(const std::string& path) {
    writeBmp(path, kBackgroundWidth, kBackgroundHeight,
             [](int x, int) { return backgroundColour(x); });
}

void writeSpriteBmp(const std::string& path) {
    writeBmp(path, kSpriteSize, kSpriteSize, [](int x, int y) {
        bool inside = x >= 8 && y >= 8 && x < kSpriteSize - 8 && y < kSpriteSize - 8;
        return inside ? RGB(0x20, 0xC0, 0x40) : RGB(0xFF, 0x00, 0xFF);
    });
}

int viewColumnOfRow(const std::vector<COLORREF>& row) {
    if (row.empty())
        return -1;
    int start = backgroundColumn(row[0]);
    if (start < 0)
        return -1;
    for (std::size_t x = 1; x < row.size(); x += 7) {
        int expected = (start + static_cast<int>(x)) % kBackgroundWidth;
        if (backgroundColumn(row[x]) != expected)
            return -1;
    }
    return start;
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
    if (in.size() < 54 || in[0] != 'B' || in[1] != 'M')
        return false;
    std::uint32_t offset = get32(in, 10);
    picture.width = static_cast<int>(get32(in, 18));
    int height = static_cast<int>(get32(in, 22));
    picture.bitsPerPixel = in[28] | in[29] << 8;
    picture.height = height < 0 ? -height : height;
    if (picture.bitsPerPixel != 24 || picture.width <= 0)
        return true;
    const std::size_t stride = (static_cast<std::size_t>(picture.width) * 3 + 3) & ~std::size_t(3);
    if (offset + stride * picture.height > in.size())
        return false;
    picture.rows.assign(picture.height, std::vector<COLORREF>(picture.width));
    for (int stored = 0; stored < picture.height; ++stored) {
        int y = height < 0 ? stored : picture.height - 1 - stored;
        const std::uint8_t* pixel = in.data() + offset + stride * stored;
        for (int x = 0; x < picture.width; ++x, pixel += 3)
            picture.rows[y][x] = RGB(pixel[2], pixel[1], pixel[0]);
    }
    return true;
}
