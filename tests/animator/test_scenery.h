#pragma once
#include "tests/support/registry_guard.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_catalogue.h"

#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>

// The power policy that the test double of powrprof reports; "" makes the query fail.
void setPowerPolicy(const std::string& idleAcIdleDcDozeAcDozeDc);

inline constexpr std::uint32_t kMagenta = 0xFF00FF;
inline constexpr std::uint32_t kSceneColour = 0xC87828; // the still type's one colour
inline constexpr std::uint32_t kInkAbove = 0xE01040;
inline constexpr std::uint32_t kInkBelow = 0x20C060;

// A catalogue and pictures made by the test, and no stored preferences.
class AnimatorScenery : public testing::Test {
  protected:
    AnimatorScenery();

    // A picture file in the resource folder whose pixel (x, y) is pixel(x, y) as
    // 0x00RRGGBB; returns its file name.
    std::string picture(const std::string& name, int width, int height,
                        const std::function<std::uint32_t(int, int)>& pixel) const;
    std::string solidPicture(const std::string& name, int width, int height,
                             std::uint32_t colour) const;
    // An 8 x 8 sprite of the colour key only: it never shows.
    std::string invisibleSprite() const;
    // A 40 x 40 sprite that differs upside down: a key-coloured frame one pixel wide around
    // kInkAbove in its upper half and kInkBelow in its lower half.
    std::string uprightSprite() const;

    // A [TypeNN] section with the picture parameters for a screen of width x height; it
    // replaces an earlier one of that number.
    void addType(int number, int moveType, int width, int height, const std::string& fileSpec,
                 const std::string& extraLines = "");
    // Adds a line to [General] (e.g. "ScrStartStyle=0").
    void addGeneral(const std::string& line) { general_ += line + "\n"; }
    // Writes the catalogue and selects the type.
    void writeCatalogue(int selectedType);

    // Type 0 of the catalogue, written and selected, as a picture of width x height that
    // stands still (a drift without velocity over kSceneColour, a sprite that never
    // shows), that moves every frame (a drift of 4 pixels over columns that all differ),
    // or whose background picture is missing.
    void stillType(int width, int height);
    void movingType(int width, int height);
    void brokenType(int width, int height);

    ScopedRegistryKeyRemoval preferences{"Software\\Tolvane"};
    TestCatalogue catalogue;
    TempFolder pictures;

  private:
    std::string general_;
    std::map<int, std::string> types_;
};
