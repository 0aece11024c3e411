#include "tests/scene/scene_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

void writeBmp(const std::string& path, int width, int height, const PixelFunction& colour) {
    const int stride = (width * 3 + 3) & ~3;
    const DWORD imageSize = static_cast<DWORD>(stride * height);
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
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
        unsigned char* row = pixels.data() + static_cast<size_t>(height - 1 - y) * stride;
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

int RecordingPacer::waits() const {
    int count = 0;
    for (const Event& e : events)
        count += e.wait;
    return count;
}

bool nearColour(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

void appendPair(std::string& text, int x, int y) {
    text += ',';
    text += std::to_string(x);
    text += ',';
    text += std::to_string(y);
}

SceneSetup foundType(std::int32_t moveType, int screenWidth, int screenHeight) {
    SceneSetup setup;
    setup.fullScreen = true;
    setup.screenWidth = screenWidth;
    setup.screenHeight = screenHeight;
    setup.typeRead = true;
    setup.moveType = moveType;
    setup.parameters.waypointCount = 1;
    return setup;
}
