#include "tests/host/test_pictures.h"
#include "tests/support/bmp_file.h"

COLORREF backgroundColour(int column) {
    return RGB(column & 0xFF, (column >> 8) * 32, 0x80);
}

int backgroundColumn(COLORREF colour) {
    if (GetBValue(colour) != 0x80 || GetGValue(colour) % 32 != 0)
        return -1;
    return GetRValue(colour) + 256 * (GetGValue(colour) / 32);
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
