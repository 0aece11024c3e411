#include "tests/animator/test_scenery.h"
#include "settings/preferences.h"
#include "tests/support/bmp_file.h"

#include <windows.h>
#include <cstdio>

void setPowerPolicy(const std::string& values) {
    SetEnvironmentVariableA("ORVIK_TEST_POWER_POLICY", values.empty() ? nullptr : values.c_str());
}

AnimatorScenery::AnimatorScenery() {
    setPowerPolicy("");
    general_ = "ResourcePath=" + pictures.path() + "\n";
}

std::string AnimatorScenery::picture(const std::string& name, int width, int height,
                                     const std::function<std::uint32_t(int, int)>& pixel) const {
    writeBmp(pictures.file(name), width, height,
             [&pixel](int x, int y) { return colorRef(pixel(x, y)); });
    return name;
}

std::string AnimatorScenery::solidPicture(const std::string& name, int width, int height,
                                          std::uint32_t colour) const {
    return picture(name, width, height, [colour](int, int) { return colour; });
}

std::string AnimatorScenery::invisibleSprite() const {
    return solidPicture("sprite.bmp", 8, 8, kMagenta);
}

std::string AnimatorScenery::uprightSprite() const {
    return picture("upright.bmp", 40, 40, [](int x, int y) {
        return x == 0 || y == 0 || x == 39 || y == 39 ? kMagenta : y < 20 ? kInkAbove : kInkBelow;
    });
}

void AnimatorScenery::addType(int number, int moveType, int width, int height,
                              const std::string& fileSpec, const std::string& extraLines) {
    char header[96];
    std::snprintf(header, sizeof header,
                  "[Type%02d]\nName=Type %d\nMoveType=%d\nFile.%04dx%04d=", number, number,
                  moveType, width, height);
    types_[number] = header + fileSpec + "\n" + extraLines;
}

void AnimatorScenery::writeCatalogue(int selectedType) {
    std::string text = "[General]\n" + general_;
    for (const auto& [number, section] : types_)
        text += section;
    catalogue.write(text);
    saveSelectedType(static_cast<std::uint32_t>(selectedType));
}

void AnimatorScenery::stillType(int width, int height) {
    addType(0, 1, width, height,
            "wall.bmp," + solidPicture("still.bmp", width, height, kSceneColour) + ",0,0," +
                invisibleSprite() + ",0,0");
    writeCatalogue(0);
}

void AnimatorScenery::movingType(int width, int height) {
    const std::string background =
        picture("columns.bmp", width, height, [](int x, int y) -> std::uint32_t {
            return (static_cast<std::uint32_t>(x % 256) << 16) | ((x / 256) * 60 << 8) | (y % 256);
        });
    addType(0, 1, width, height, "wall.bmp," + background + ",4,0," + invisibleSprite() + ",0,0");
    writeCatalogue(0);
}

void AnimatorScenery::brokenType(int width, int height) {
    addType(0, 1, width, height, "wall.bmp,missing.bmp,0,0," + invisibleSprite() + ",0,0");
    writeCatalogue(0);
}
