#include "platform/gdi_handles.h"
#include "raster/dib_section.h"
#include "raster/pixel_blend.h"
#include "raster/pixel_view.h"
#include "tests/support/dib_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

namespace {

std::uint32_t& at(const DibSurface& picture, int x, int y) {
    return picture.bits()[static_cast<std::size_t>(y) * picture.width() + x];
}

void randomize(const DibSurface& picture, std::mt19937& random) {
    std::generate_n(picture.bits(), picture.width() * picture.height(), std::ref(random));
}

// A second target with the same pixels.
void copyPixels(const DibSurface& from, const DibSurface& to) {
    std::copy_n(from.bits(), from.width() * from.height(), to.bits());
}

struct Case {
    const char* name;
    int width;      // odd widths reach the wide, the narrow and the one-pixel loops
    int weight;     // the cross-fade's, or the sprite's constant alpha
    POINT viewport; // the target's viewport origin
    RECT clip;      // the target's clip rectangle (device coordinates), empty: none
};

const Case kCases[] = {
    {"one pixel", 1, 128, {0, 0}, {}},
    {"low weight, wide", 29, 1, {0, 0}, {}},
    {"middle", 13, 128, {0, 0}, {}},
    {"near full", 21, 254, {0, 0}, {}},
    {"full", 13, 255, {0, 0}, {}},
    {"zero", 13, 0, {0, 0}, {}},
    {"another weight", 13, 77, {0, 0}, {}},
    {"moved origin", 19, 200, {5, 3}, {}},
    {"clipped", 19, 99, {2, 1}, {4, 2, 15, 9}},
};

// The platform's drawing and ours on two equal targets give the same bytes, alpha
// channel included.
void expectSamePictures(const DibSurface& ours, const DibSurface& platform, const char* name) {
    GdiFlush();
    int differing = 0;
    for (int y = 0; y < ours.height(); ++y)
        for (int x = 0; x < ours.width(); ++x)
            if (at(ours, x, y) != at(platform, x, y) && ++differing <= 3)
                ADD_FAILURE() << name << " at " << x << "," << y << ": " << std::hex
                              << at(ours, x, y) << " against the platform's " << at(platform, x, y);
}

void prepareTarget(const DibSurface& target, const Case& c) {
    SetViewportOrgEx(target.dc(), c.viewport.x, c.viewport.y, nullptr);
    if (!IsRectEmpty(&c.clip)) {
        RegionHandle region(CreateRectRgnIndirect(&c.clip));
        SelectClipRgn(target.dc(), region.get());
    }
}

} // namespace

TEST(PixelBlend, CrossFadeGivesTheBytesOfACopyAndAConstantAlphaBlend) {
    std::mt19937 random(12);
    for (const Case& c : kCases) {
        const int height = 11;
        DibSurface strip(3 * c.width, height);
        randomize(strip, random);
        DibSurface ours(c.width + 8, height + 4);
        randomize(ours, random);
        DibSurface platform(ours.width(), ours.height());
        copyPixels(ours, platform);
        prepareTarget(ours, c);
        prepareTarget(platform, c);

        const RECT area = {1, 2, 1 + c.width, 2 + height - 2};
        const int w = area.right - area.left;
        const int h = area.bottom - area.top;
        ASSERT_TRUE(crossFadeInto(topDownPixelsOf(ours.dc()), area, topDownPixelsOf(strip.dc()),
                                  POINT{2 * c.width, 1}, topDownPixelsOf(strip.dc()), POINT{0, 0},
                                  c.weight))
            << c.name;
        BitBlt(platform.dc(), area.left, area.top, w, h, strip.dc(), 2 * c.width, 1, SRCCOPY);
        const BLENDFUNCTION function = {AC_SRC_OVER, 0, static_cast<BYTE>(c.weight), 0};
        if (c.weight)
            AlphaBlend(platform.dc(), area.left, area.top, w, h, strip.dc(), 0, 0, w, h, function);
        expectSamePictures(ours, platform, c.name);
    }
}

TEST(PixelBlend, PremultipliedBlendGivesTheBytesOfAPerPixelAlphaBlend) {
    std::mt19937 random(34);
    for (const Case& c : kCases) {
        // A keyed sprite as the Scene makes it: transparent black or opaque colour.
        DibSurface sprite(c.width, 7);
        // Runs of transparent pixels, as a sprite has them, and scattered ones.
        for (int i = 0; i < sprite.width() * sprite.height(); ++i)
            sprite.bits()[i] = (i / 9) % 2 == 0 || random() % 3 == 0 ? 0 : (random() | 0xFF000000u);
        for (POINT place : {POINT{2, 3}, POINT{-3, -2}, POINT{c.width + 4, 8}}) {
            DibSurface ours(c.width + 8, 14);
            randomize(ours, random);
            DibSurface platform(ours.width(), ours.height());
            copyPixels(ours, platform);
            prepareTarget(ours, c);
            prepareTarget(platform, c);
            ASSERT_TRUE(blendPremultipliedInto(topDownPixelsOf(ours.dc()), place, sprite.bits(),
                                               sprite.width(), sprite.height(), c.weight))
                << c.name;
            const BLENDFUNCTION function = {AC_SRC_OVER, 0, static_cast<BYTE>(c.weight),
                                            AC_SRC_ALPHA};
            if (c.weight)
                AlphaBlend(platform.dc(), place.x, place.y, sprite.width(), sprite.height(),
                           sprite.dc(), 0, 0, sprite.width(), sprite.height(), function);
            expectSamePictures(ours, platform, c.name);
        }
    }
}

TEST(PixelBlend, OnlyA32BitPictureInMemoryIsWorkedOnDirectly) {
    MemoryDC memory(nullptr);
    EXPECT_FALSE(topDownPixelsOf(memory.get()))
        << "a fresh context holds a 1 x 1 monochrome bitmap";
    HDC screen = GetDC(nullptr);
    EXPECT_FALSE(topDownPixelsOf(screen));
    ReleaseDC(nullptr, screen);
    BITMAPINFO info = topDownDibInfo(8, 8);
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    BitmapHandle threeBytes(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    {
        SelectedObject selection(memory.get(), threeBytes.get());
        EXPECT_FALSE(topDownPixelsOf(memory.get())) << "24 bits per pixel";
    }
    DibSurface picture(8, 8);
    const RECT diamond[] = {{0, 0, 4, 4}, {4, 4, 8, 8}};
    RegionHandle two(CreateRectRgnIndirect(&diamond[0]));
    RegionHandle second(CreateRectRgnIndirect(&diamond[1]));
    CombineRgn(two.get(), two.get(), second.get(), RGN_OR);
    SelectClipRgn(picture.dc(), two.get());
    EXPECT_FALSE(topDownPixelsOf(picture.dc())) << "a clip of two rectangles";
    SelectClipRgn(picture.dc(), nullptr);
    EXPECT_TRUE(topDownPixelsOf(picture.dc()));
    // A source rectangle that leaves its picture is refused, not read past.
    const PixelView view = topDownPixelsOf(picture.dc());
    EXPECT_FALSE(crossFadeInto(view, RECT{0, 0, 4, 4}, view, POINT{6, 0}, view, POINT{0, 0}, 9));
}
