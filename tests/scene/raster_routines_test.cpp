#include "scene/sprite_compose.h"
#include "scene/tiled_background.h"
#include "tests/scene/scene_test_support.h"
#include "tests/support/dib_section.h"
#include "tests/support/dib_surface.h"

#include <gtest/gtest.h>

namespace {

const COLORREF kKey = RGB(255, 0, 255);
const COLORREF kOld = RGB(10, 200, 60);
const COLORREF kInk = RGB(250, 20, 131);

// Sprite of 6 x 4: key colour on the diagonal and in the last column, ink elsewhere.
bool isKeyPixel(int x, int y) {
    return x == y || x == 5;
}

COLORREF expectedBlend(COLORREF sprite, COLORREF old, int alpha) {
    auto channel = [alpha](int s, int o) { return (s * alpha + o * (255 - alpha)) / 255; };
    return RGB(channel(GetRValue(sprite), GetRValue(old)),
               channel(GetGValue(sprite), GetGValue(old)),
               channel(GetBValue(sprite), GetBValue(old)));
}

// Every source pixel tells where it came from.
COLORREF sourceColour(int x, int y) {
    return RGB(x * 2, y * 3, 77);
}

} // namespace

TEST(ComposeSprite, BlendsOpaquePixelsAndLeavesTheKeyColourAtEveryAlpha) {
    BitmapHandle sprite =
        makeDibBitmap(6, 4, [](int x, int y) { return isKeyPixel(x, y) ? kKey : kInk; });
    for (int alpha : {1, 37, 64, 128, 200, 254, 255}) {
        DibSurface picture(12, 10, kOld);
        composeSprite(picture.dc(), POINT{3, 2}, sprite.get(), kKey, alpha);
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 12; ++x) {
                bool inside = x >= 3 && x < 9 && y >= 2 && y < 6;
                COLORREF got = picture.pixel(x, y);
                if (!inside || isKeyPixel(x - 3, y - 2))
                    EXPECT_EQ(got, kOld) << "alpha " << alpha << " at " << x << "," << y;
                else
                    EXPECT_TRUE(nearColour(got, expectedBlend(kInk, kOld, alpha), 1))
                        << "alpha " << alpha << " at " << x << "," << y << ": " << std::hex << got;
            }
        }
    }
}

TEST(ComposeSprite, FullAlphaCopiesTheSpriteExactly) {
    BitmapHandle sprite = makeDibBitmap(
        6, 4, [](int x, int y) { return isKeyPixel(x, y) ? kKey : RGB(x * 40, y * 60, 9); });
    DibSurface picture(6, 4, kOld);
    composeSprite(picture.dc(), POINT{0, 0}, sprite.get(), kKey, 255);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(picture.pixel(x, y), isKeyPixel(x, y) ? kOld : RGB(x * 40, y * 60, 9))
                << x << "," << y;
}

TEST(ComposeSprite, AlphaZeroAndAnAllKeySpriteDrawNothing) {
    BitmapHandle inked = makeDibBitmap(6, 4, [](int, int) { return kInk; });
    BitmapHandle allKey = makeDibBitmap(6, 4, [](int, int) { return kKey; });
    DibSurface picture(8, 8);
    picture.paint(sourceColour);
    composeSprite(picture.dc(), POINT{1, 1}, inked.get(), kKey, 0);
    for (int alpha : {1, 128, 255})
        composeSprite(picture.dc(), POINT{1, 1}, allKey.get(), kKey, alpha);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(picture.pixel(x, y), sourceColour(x, y)) << x << "," << y;
}

TEST(DrawBackgroundTiled, OriginZeroOverTheWholeSizeCopiesOnce) {
    DibSurface source(20, 15);
    source.paint(sourceColour);
    DibSurface picture(20, 15, kOld);
    drawBackgroundTiled(picture.dc(), RECT{0, 0, 20, 15}, source.dc(), 20, 15, 0, 0);
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 20; ++x)
            EXPECT_EQ(picture.pixel(x, y), sourceColour(x, y)) << x << "," << y;
}

TEST(DrawBackgroundTiled, AnOriginOfTenShiftsTheColumns) {
    DibSurface source(20, 15);
    source.paint(sourceColour);
    DibSurface picture(20, 15, kOld);
    drawBackgroundTiled(picture.dc(), RECT{0, 0, 20, 15}, source.dc(), 20, 15, 10, 0);
    for (int y = 0; y < 15; ++y) {
        EXPECT_EQ(picture.pixel(0, y), sourceColour(10, y));
        EXPECT_EQ(picture.pixel(9, y), sourceColour(19, y));
        EXPECT_EQ(picture.pixel(10, y), sourceColour(0, y));
        EXPECT_EQ(picture.pixel(19, y), sourceColour(9, y));
    }
}

TEST(DrawBackgroundTiled, FillsOnlyTheRectangleWithTheWrappedPicture) {
    DibSurface source(20, 15);
    source.paint(sourceColour);
    // Origins of every sign and beyond the picture's size; the rectangle spans several
    // tiles and starts away from the corner.
    struct Origin {
        int x, y;
    } origins[] = {{13, 7}, {0, 14}, {47, 31}, {-13, -9}, {-47, 16}, {-1000, -1000}};
    for (const Origin& origin : origins) {
        DibSurface picture(70, 50, kOld);
        const RECT rect = {5, 3, 66, 47};
        drawBackgroundTiled(picture.dc(), rect, source.dc(), 20, 15, origin.x, origin.y);
        for (int y = 0; y < 50; ++y) {
            for (int x = 0; x < 70; ++x) {
                bool inside = x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
                COLORREF expected = inside ? sourceColour(((x + origin.x) % 20 + 20) % 20,
                                                          ((y + origin.y) % 15 + 15) % 15)
                                           : kOld;
                ASSERT_EQ(picture.pixel(x, y), expected)
                    << "origin " << origin.x << "," << origin.y << " at " << x << "," << y;
            }
        }
    }
}

TEST(DrawBackgroundTiled, AnEmptyPictureOrRectangleDrawsNothing) {
    DibSurface source(20, 15);
    source.paint(sourceColour);
    DibSurface picture(30, 30, kOld);
    drawBackgroundTiled(picture.dc(), RECT{0, 0, 30, 30}, source.dc(), 0, 15, 0, 0);
    drawBackgroundTiled(picture.dc(), RECT{0, 0, 30, 30}, source.dc(), 20, -1, 0, 0);
    drawBackgroundTiled(picture.dc(), RECT{10, 10, 5, 20}, source.dc(), 20, 15, 0, 0);
    EXPECT_EQ(picture.countDiffering(kOld), 0);
}
