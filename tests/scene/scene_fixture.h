#pragma once
#include "scene/scene.h"
#include "scene/scene_loader.h"
#include "settings/preferences.h"
#include "tests/scene/scene_test_support.h"
#include "tests/support/bmp_file.h"
#include "tests/support/dib_surface.h"
#include "tests/support/registry_guard.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_catalogue.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

// A test catalogue whose resource folder holds pictures written by the test, and a clean
// preference store (resuming only when a test asks for it): what the loader reads.
class SceneLoaderTest : public testing::Test {
  protected:
    ScopedRegistryKeyRemoval clean{"Software\\Tolvane"};
    TestCatalogue catalogue;
    TempFolder pictures;

    SceneLoaderTest() { saveWallpaperPolicy(WallpaperPolicy::Never); }

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
        saveWallpaperPolicy(WallpaperPolicy::Always);
        writePreference(kResumeResolutionValue, resumeResolution(width, height));
        writePreference(kResumeValue1, value1);
        writePreference(kResumeValue2, value2);
        writePreference(kResumeValue3, value3);
    }

    SceneSetup load(DibSurface& window, bool fullScreen = true, int typeNumber = 0) {
        return loadSceneSetup(typeNumber, window.dc(), window.width(), window.height(), fullScreen);
    }
    // The Scene built from what the loader read.
    std::unique_ptr<Scene> build(DibSurface& window, bool fullScreen = true, int typeNumber = 0) {
        return std::make_unique<Scene>(load(window, fullScreen, typeNumber), window.dc());
    }
};
