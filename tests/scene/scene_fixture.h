#pragma once
#include "preferences.h"
#include "registry_guard.h"
#include "scene.h"
#include "scene_test_support.h"
#include "temp_folder.h"
#include "test_catalogue.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

// The background of the drawing tests: every pixel tells where it lies.
inline COLORREF backgroundColour(int x, int y) {
    return RGB(x % 256, y % 256, 128);
}

inline const COLORREF kKeyColour = RGB(255, 0, 255);
inline const COLORREF kSpriteInk = RGB(250, 20, 131);
inline const COLORREF kSentinel = RGB(1, 254, 3);

// A sprite with a key-coloured frame one pixel wide around solid ink.
inline PixelFunction framedSprite(int width, int height) {
    return [width, height](int x, int y) {
        return x == 0 || y == 0 || x == width - 1 || y == height - 1 ? kKeyColour : kSpriteInk;
    };
}

// A test catalogue whose resource folder holds pictures written by the test, and a clean
// preference store (resuming only when a test asks for it).
class SceneTest : public testing::Test {
  protected:
    ScopedRegistryKeyRemoval clean{"Software\\Tolvane"};
    TestCatalogue catalogue;
    TempFolder pictures;

    SceneTest() { writePreference(kWallpaperPolicyValue, Never); }

    void picture(const std::string& name, int width, int height, const PixelFunction& colour) {
        writeBmp(pictures.file(name), width, height, colour);
    }

    // One [Type00] section with the given move type and file entry.
    void writeType(int moveType, const std::string& fileKey, const std::string& fileSpec,
                   const std::string& extra = "", int typeNumber = 0) {
        char section[16];
        std::snprintf(section, sizeof section, "Type%02d", typeNumber);
        catalogue.write("[General]\nResourcePath=" + pictures.path() + "\n[" + section +
                        "]\nName=Test type\nMoveType=" + std::to_string(moveType) + "\n" + fileKey +
                        "=" + fileSpec + "\n" + extra);
    }

    void resumeFrom(int width, int height, std::uint32_t value1, std::uint32_t value2,
                    std::uint32_t value3) {
        writePreference(kWallpaperPolicyValue, Always);
        writePreference(kResumeResolutionValue, resumeResolution(width, height));
        writePreference(kResumeValue1, value1);
        writePreference(kResumeValue2, value2);
        writePreference(kResumeValue3, value3);
    }

    std::unique_ptr<Scene> build(DibSurface& window, bool fullScreen = true, int typeNumber = 0) {
        return std::make_unique<Scene>(typeNumber, window.dc(), window.width(), window.height(),
                                       fullScreen);
    }
};
