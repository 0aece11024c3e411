#include "tests/scene/scene_test_support.h"
#include "tests/support/dib_section.h"
#include "tests/support/dib_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int W = 64;
constexpr int H = 48;

COLORREF blend(COLORREF over, COLORREF under, int alpha) {
    auto channel = [alpha](int s, int o) { return (s * alpha + o * (255 - alpha)) / 255; };
    return RGB(channel(GetRValue(over), GetRValue(under)),
               channel(GetGValue(over), GetGValue(under)),
               channel(GetBValue(over), GetBValue(under)));
}

// The picture of a tiled type: the background wrapped from the view origin, with the
// framed sprite blended over it.
// The framed sprite blended over `under` at (x, y) of the screen.
COLORREF withSprite(COLORREF under, int x, int y, const RECT& sprite, int alpha) {
    if (alpha == 0 || !PtInRect(&sprite, POINT{x, y}))
        return under;
    const COLORREF ink = framedSpritePixel(sprite.right - sprite.left, sprite.bottom - sprite.top,
                                           x - sprite.left, y - sprite.top);
    return ink == kKeyColour ? under : blend(ink, under, alpha);
}

COLORREF tiledPixel(int x, int y, const SceneMotion& m, const RECT& sprite, int alpha) {
    COLORREF under =
        backgroundColour((x + m.viewX) % m.backgroundWidth, (y + m.viewY) % m.backgroundHeight);
    return withSprite(under, x, y, sprite, alpha);
}

// Checks the pixels of region (the whole target by default).
void expectTiledPicture(const DibSurface& target, const Scene& scene, int alpha, const char* when,
                        RECT region = {0, 0, W, H}) {
    const SceneMotion& m = scene.motion();
    const RECT sprite = scene.spriteRect();
    for (int y = std::max<int>(region.top, 0); y < std::min<int>(region.bottom, target.height());
         ++y)
        for (int x = std::max<int>(region.left, 0); x < std::min<int>(region.right, target.width());
             ++x)
            ASSERT_TRUE(nearColour(target.pixel(x, y), tiledPixel(x, y, m, sprite, alpha), 1))
                << when << ": at " << x << "," << y << " got " << std::hex << target.pixel(x, y);
}

// Strip frames tell their number and the position in the frame.
COLORREF stripColour(int x, int y) {
    return RGB((x / W) * 70 + x % W, y * 5, 50);
}

int touched(DibSurface& target) {
    return target.countDiffering(kSentinel);
}

// A tiled type on a W x H screen over a 100 x 70 background with a framed sprite.
SceneSetup tiledSetup(std::int32_t moveType, POINT spritePlace, SIZE sprite = {16, 12}) {
    SceneSetup setup = foundType(moveType, W, H);
    setup.background = makeDibBitmap(100, 70, backgroundColour);
    setup.sprite = makeDibBitmap(sprite.cx, sprite.cy, framedSprite(sprite.cx, sprite.cy));
    setup.parameters.spriteX = spritePlace.x;
    setup.parameters.spriteY = spritePlace.y;
    return setup;
}

// A slide show over a strip of `frames` frames of the screen's size; the sprite is all key
// colour unless one is given.
SceneSetup stripSetup(int frames, int width = W, int height = H) {
    SceneSetup setup = foundType(MoveSlideShow, width, height);
    setup.background = makeDibBitmap(frames * width, height, stripColour);
    setup.sprite = makeDibBitmap(8, 8, [](int, int) { return kKeyColour; });
    return setup;
}

std::unique_ptr<Scene> build(SceneSetup setup) {
    DibSurface window(setup.screenWidth, setup.screenHeight);
    return std::make_unique<Scene>(std::move(setup), window.dc());
}

// Runs a slide show in power save, drawing every frame as the render thread does, until
// the motion has taken the power-save form (at a frame boundary) and then made its first
// whole-frame jump, which is left to the caller to draw.
void advanceToFirstPowerSaveJump(Scene& scene) {
    DibSurface target(scene.screenWidth(), scene.screenHeight());
    DibSurface back(scene.screenWidth(), scene.screenHeight());
    scene.setPowerSave(true);
    while (!scene.motion().powerSaveLatched) {
        scene.draw(target.dc(), back.dc(), false, false, nullptr);
        scene.advance();
    }
    const std::int32_t boundary = scene.phase();
    while (scene.phase() == boundary) {
        scene.draw(target.dc(), back.dc(), false, false, nullptr);
        scene.advance();
    }
}

// The copies that one drawing makes onto its target, recorded in a metafile: the target's
// rectangles that they cover.
std::vector<RECT> copiesOnto(const std::function<void(HDC)>& draw) {
    std::vector<RECT> copies;
    HDC recorder = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    if (!recorder)
        return copies;
    draw(recorder);
    HENHMETAFILE recorded = CloseEnhMetaFile(recorder);
    auto collect = [](HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM found) -> int {
        auto& rects = *reinterpret_cast<std::vector<RECT>*>(found);
        if (record->iType == EMR_BITBLT) {
            const auto* copy = reinterpret_cast<const EMRBITBLT*>(record);
            rects.push_back(
                {copy->xDest, copy->yDest, copy->xDest + copy->cxDest, copy->yDest + copy->cyDest});
        } else if (record->iType == EMR_STRETCHBLT || record->iType == EMR_ALPHABLEND ||
                   record->iType == EMR_STRETCHDIBITS || record->iType == EMR_SETDIBITSTODEVICE ||
                   record->iType == EMR_MASKBLT || record->iType == EMR_TRANSPARENTBLT) {
            rects.push_back({-1, -1, -1, -1}); // any other way of copying counts too
        }
        return 1;
    };
    EnumEnhMetaFile(nullptr, recorded, collect, &copies, nullptr);
    DeleteEnhMetaFile(recorded);
    return copies;
}

} // namespace

TEST(SceneDrawing, TiledTypesRedrawOnlyWhatChanged) {
    const POINT places[] = {{20, 10}, {0, 0}, {56, 40}};
    for (const POINT& place : places) {
        SCOPED_TRACE("sprite at " + std::to_string(place.x) + "," + std::to_string(place.y));
        auto scene = build(tiledSetup(MoveDrift, place)); // velocity 0: the view stands
        ASSERT_FALSE(scene->isBroken());
        const RECT sprite = scene->spriteRect();
        DibSurface target(W, H, kSentinel);
        DibSurface back(W, H);

        scene->draw(target.dc(), back.dc(), false, false, nullptr);
        EXPECT_EQ(touched(target), W * H) << "the first drawing is a change";
        expectTiledPicture(target, *scene, 255, "first");

        target.fill(kSentinel);
        scene->draw(target.dc(), back.dc(), false, false, nullptr);
        EXPECT_EQ(touched(target), 0) << "nothing changed";

        scene->advance(); // the sprite fades
        ASSERT_EQ(scene->motion().spriteAlpha, 245);
        target.fill(kSentinel);
        scene->draw(target.dc(), back.dc(), false, false, nullptr);
        EXPECT_EQ(target.differing(kSentinel), rectMask(W, H, sprite))
            << "only the sprite's rectangle";
        expectTiledPicture(target, *scene, 245, "sprite faded", sprite);

        target.fill(kSentinel);
        scene->draw(target.dc(), back.dc(), false, false, nullptr);
        EXPECT_EQ(touched(target), 0);
        scene->draw(target.dc(), back.dc(), false, true, nullptr);
        EXPECT_EQ(touched(target), W * H) << "a repaint draws everything";
        expectTiledPicture(target, *scene, 245, "repaint");

        // A full redraw shows the sprite at full strength whatever its alpha.
        target.fill(kSentinel);
        scene->draw(target.dc(), nullptr, true, false, nullptr);
        expectTiledPicture(target, *scene, 255, "full redraw");
    }
}

TEST(SceneDrawing, AMovingViewMovesTheBandsAndWhatShowsThroughTheSprite) {
    // A drift moves the view while the sprite pulses; a clock in power save glides with
    // the sprite's alpha standing; a random hop glides with the sprite hidden, when the
    // whole screen is tiled.
    struct Case {
        const char* name;
        std::int32_t moveType;
        bool powerSave;
    } cases[] = {
        {"drift", MoveDrift, false},
        {"clock in power save", MoveClock, true},
        {"random hop", MoveRandomHop, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SceneSetup setup = tiledSetup(c.moveType, {20, 10});
        setup.fullScreen = false; // drawn at once, never revealed
        setup.parameters.motionParamX = c.moveType == MoveRandomHop ? 10 : 30;
        setup.parameters.motionParamY = c.moveType == MoveRandomHop ? 40 : 5;
        if (c.moveType == MoveClock) {
            // Half the background away from where the clock heads.
            SYSTEMTIME now = {};
            GetLocalTime(&now);
            setup.resume.value1 = (clockTargetX(100, now) + 50) % 100;
        }
        auto scene = build(std::move(setup));
        ASSERT_FALSE(scene->isBroken());
        scene->setPowerSave(c.powerSave);
        DibSurface target(W, H, kSentinel);
        DibSurface back(W, H);
        scene->draw(target.dc(), back.dc(), false, false, nullptr);
        int movedFrames = 0;
        for (int frame = 0; frame < 80; ++frame) {
            const SceneMotion before = scene->motion();
            scene->advance();
            const SceneMotion& m = scene->motion();
            movedFrames += m.viewX != before.viewX || m.viewY != before.viewY;
            scene->draw(target.dc(), back.dc(), false, false, nullptr);
            expectTiledPicture(target, *scene, m.spriteAlpha,
                               ("frame " + std::to_string(frame)).c_str());
        }
        EXPECT_GE(movedFrames, 5) << "the view must have moved";
    }
}

TEST(SceneDrawing, WithoutABackBufferTheSpriteRectangleIsComposedApart) {
    // The small sprite's rectangle crosses the background's right edge; the wide one is
    // centred left of the screen, so its rectangle's origin lies left of the view's.
    struct Case {
        SIZE sprite;
        POINT place;
        std::int32_t viewX;
    } cases[] = {{{16, 12}, {20, 10}, 97}, {{90, 12}, {-1, 30}, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.sprite.cx) + " wide");
        SceneSetup setup = tiledSetup(MoveDrift, c.place, c.sprite);
        setup.resume = {c.viewX, 3, 0};
        auto scene = build(std::move(setup));
        ASSERT_FALSE(scene->isBroken());
        DibSurface target(W, H, kSentinel);
        scene->draw(target.dc(), nullptr, false, true, nullptr);
        expectTiledPicture(target, *scene, 255, "repaint");

        scene->advance();
        target.fill(kSentinel);
        scene->draw(target.dc(), nullptr, false, false, nullptr);
        EXPECT_EQ(target.differing(kSentinel), rectMask(W, H, scene->spriteRect()));
        expectTiledPicture(target, *scene, 245, "sprite faded", scene->spriteRect());
    }
}

// The start-up's first frame and the hand-off's picture are drawn without a back buffer
// into a surface of the program's own, the frame loop with one; a bottom-up picture (as
// the platform makes for anything but the program's own surfaces) must come out the same.
TEST(SceneDrawing, EveryTypeDrawsItsSpriteUprightOnEverySurface) {
    using Rows = DibSurface::Rows;
    struct Way {
        const char* name;
        bool backBuffer;
        Rows rows;
    } ways[] = {
        {"start-up and hand-off: no back buffer", false, Rows::TopDown},
        {"frame loop: a back buffer", true, Rows::TopDown},
        {"bottom-up target, no back buffer", false, Rows::BottomUp},
        {"bottom-up target and back buffer", true, Rows::BottomUp},
    };
    for (std::int32_t moveType = MoveSlideShow; moveType <= MoveWaypoints; ++moveType) {
        for (const Way& way : ways) {
            SCOPED_TRACE("move type " + std::to_string(moveType) + ", " + way.name);
            SceneSetup setup = tiledSetup(moveType, {20, 10});
            if (moveType == MoveSlideShow) {
                SceneSetup strip = stripSetup(3);
                strip.sprite = std::move(setup.sprite);
                strip.parameters = setup.parameters;
                setup = std::move(strip);
            }
            setup.parameters.motionParamX = moveType == MoveRandomHop ? 5 : 0;
            setup.parameters.motionParamY = moveType == MoveRandomHop ? 30 : 0;
            setup.parameters.waypointCount = 1;
            auto scene = build(std::move(setup));
            ASSERT_FALSE(scene->isBroken());
            DibSurface target(W, H, kSentinel, way.rows);
            DibSurface back(W, H, kSentinel, way.rows);
            if (way.backBuffer)
                scene->draw(target.dc(), back.dc(), false, true, nullptr);
            else
                scene->draw(target.dc(), nullptr, true, false, nullptr);
            if (moveType != MoveSlideShow) {
                expectTiledPicture(target, *scene, 255, "drawn");
                continue;
            }
            const RECT sprite = scene->spriteRect();
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x)
                    ASSERT_EQ(target.pixel(x, y), withSprite(stripColour(x, y), x, y, sprite, 255))
                        << x << "," << y;
        }
    }
}

TEST(SceneDrawing, SlideShowAtPhase128ShowsTwoFramesHalfAndHalf) {
    // A screen 2048 wide is made in bands of 32 rows on its way to the target; the sprite
    // there crosses two band edges.
    struct Case {
        int phase, frame, next;
        SIZE screen = {W, H};
        bool sprite = false;
    } cases[] = {
        {128, 0, 1}, {256 + 128, 1, 2}, {2 * 256 + 128, 2, 0}, {128, 0, 1, {2048, 70}, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE("phase " + std::to_string(c.phase) + " on " + std::to_string(c.screen.cx));
        const int width = c.screen.cx;
        const int height = c.screen.cy;
        SceneSetup setup = stripSetup(3, width, height);
        if (c.sprite) {
            setup.sprite = makeDibBitmap(16, 40, framedSprite(16, 40));
            setup.parameters.spriteX = 1000;
            setup.parameters.spriteY = 20;
        }
        setup.resume.value1 = c.phase;
        auto scene = build(std::move(setup));
        ASSERT_EQ(scene->phase(), c.phase);
        DibSurface direct(width, height, kSentinel);
        scene->draw(direct.dc(), nullptr, true, false, nullptr);
        DibSurface target(width, height, kSentinel);
        DibSurface back(width, height);
        DibSurface scratch(width, height);
        scene->draw(target.dc(), back.dc(), false, true, scratch.dc());
        const RECT sprite = scene->spriteRect();
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (c.sprite && PtInRect(&sprite, POINT{x, y}))
                    continue;
                COLORREF expected = blend(stripColour(c.next * width + x, y),
                                          stripColour(c.frame * width + x, y), 128);
                ASSERT_TRUE(nearColour(direct.pixel(x, y), expected, 1))
                    << "direct at " << x << "," << y;
            }
        }
        EXPECT_EQ(target.pixels(), direct.pixels()) << "buffered as drawn directly";

        // Onto a composed target the same picture comes in one copy, not in bands.
        scene->setComposedTarget(true);
        const std::vector<RECT> copies = copiesOnto(
            [&](HDC composed) { scene->draw(composed, back.dc(), false, true, nullptr); });
        const RECT screen = {0, 0, width, height};
        ASSERT_EQ(copies.size(), 1u);
        EXPECT_TRUE(EqualRect(&copies[0], &screen));
        target.fill(kSentinel);
        scene->draw(target.dc(), back.dc(), false, true, nullptr);
        EXPECT_EQ(target.pixels(), direct.pixels()) << "composed as drawn directly";

        // The next step of the fade moves each pixel a few levels: in bands, as uncomposed
        // (three on the wide screen); the pixels of each step are compared below.
        while (scene->phase() == c.phase)
            scene->advance();
        ASSERT_EQ(scene->phase(), c.phase + 4);
        const std::vector<RECT> steps = copiesOnto(
            [&](HDC composed) { scene->draw(composed, back.dc(), false, false, nullptr); });
        EXPECT_EQ(steps.size(), width == 2048 ? 3u : 1u);
    }
}

TEST(SceneDrawing, SlideShowRedrawsTheSpriteWhileHoldingAndEverythingWhileFading) {
    SceneSetup setup = stripSetup(2);
    setup.sprite = makeDibBitmap(16, 12, framedSprite(16, 12));
    setup.parameters.spriteX = 10;
    setup.parameters.spriteY = 20;
    auto scene = build(std::move(setup));
    ASSERT_FALSE(scene->isBroken());
    const RECT sprite = scene->spriteRect();
    DibSurface target(W, H, kSentinel);
    DibSurface back(W, H);
    DibSurface scratch(W, H);
    scene->draw(target.dc(), back.dc(), false, false, scratch.dc());
    EXPECT_EQ(touched(target), W * H) << "the first drawing is a change";

    target.fill(kSentinel);
    scene->draw(target.dc(), back.dc(), false, false, scratch.dc());
    EXPECT_EQ(touched(target), 0);

    scene->advance(); // holding: only the sprite fades
    ASSERT_EQ(scene->phase(), 0);
    target.fill(kSentinel);
    scene->draw(target.dc(), back.dc(), false, false, scratch.dc());
    EXPECT_EQ(target.differing(kSentinel), rectMask(W, H, sprite));
    EXPECT_TRUE(nearColour(target.pixel(15, 25), blend(kSpriteInk, stripColour(15, 25), 245), 1));
    EXPECT_EQ(target.pixel(10, 20), stripColour(10, 20)) << "key colour shows the frame";

    while (scene->phase() == 0)
        scene->advance(); // to the end of the hold
    ASSERT_EQ(scene->phase(), 4);
    target.fill(kSentinel);
    scene->draw(target.dc(), back.dc(), false, false, scratch.dc());
    EXPECT_EQ(touched(target), W * H);
    EXPECT_TRUE(
        nearColour(target.pixel(40, 5), blend(stripColour(W + 40, 5), stripColour(40, 5), 4), 1));

    target.fill(kSentinel);
    scene->draw(target.dc(), back.dc(), false, true, scratch.dc());
    EXPECT_EQ(touched(target), W * H) << "a repaint redraws the whole picture";
}

TEST(SceneDrawing, FullScreenPowerSaveJumpsAreRevealedAndPreviewJumpsDrawnAtOnce) {
    for (bool fullScreen : {true, false}) {
        SCOPED_TRACE(fullScreen ? "full screen" : "preview");
        SceneSetup setup = tiledSetup(MoveWaypoints, {20, 10});
        setup.fullScreen = fullScreen;
        setup.motionWhilePowerSave = 0;
        setup.parameters.waypointCount = 2;
        setup.parameters.waypoints[0] = {0, 0};
        setup.parameters.waypoints[1] = {50, 30};
        auto scene = build(std::move(setup));
        ASSERT_FALSE(scene->isBroken());
        RecordingPacer pacer;
        scene->setRevealPacer(&pacer);
        DibSurface target(W, H, kSentinel);
        DibSurface back(W, H);
        scene->draw(target.dc(), nullptr, true, false, nullptr);
        scene->setPowerSave(true);
        for (int frame = 0; frame < 39; ++frame)
            scene->advance();
        scene->draw(target.dc(), back.dc(), false, false, nullptr);
        ASSERT_EQ(scene->motion().stepCount, 0);
        scene->advance(); // a new cycle in power save lands on the waypoint at once
        ASSERT_EQ(scene->viewX(), 50);
        ASSERT_EQ(scene->viewY(), 30);
        pacer.events.clear();
        target.fill(kSentinel);
        scene->draw(target.dc(), back.dc(), false, false, nullptr);
        expectTiledPicture(target, *scene, scene->motion().spriteAlpha, "after the jump");
        if (fullScreen) {
            // 48 lines of one pixel, 10 per pause of 40 ms.
            EXPECT_EQ(pacer.waits(), 4);
            for (const RecordingPacer::Event& e : pacer.events) {
                if (e.wait) {
                    EXPECT_EQ(e.periodMs, 40u);
                }
            }
        } else {
            EXPECT_TRUE(pacer.events.empty());
        }
    }
}

TEST(SceneDrawing, SlideShowPowerSaveJumpIsRevealedInTheGridStyle) {
    auto scene = build(stripSetup(3));
    ASSERT_FALSE(scene->isBroken());
    RecordingPacer pacer;
    scene->setRevealPacer(&pacer);
    DibSurface target(W, H, kSentinel);
    DibSurface back(W, H);
    scene->draw(target.dc(), nullptr, true, false, nullptr);
    advanceToFirstPowerSaveJump(*scene);
    ASSERT_EQ(scene->phase(), 512);
    target.fill(kSentinel);
    scene->draw(target.dc(), back.dc(), false, false, nullptr);
    // 16 x 16 blocks of 4 x 3, 25 per pause of 150 ms.
    EXPECT_EQ(pacer.waits(), 10);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            ASSERT_EQ(target.pixel(x, y), stripColour(2 * W + x, y)) << x << "," << y;

    pacer.events.clear();
    target.fill(kSentinel);
    scene->draw(target.dc(), back.dc(), false, false, nullptr);
    EXPECT_EQ(touched(target), 0);
    EXPECT_TRUE(pacer.events.empty());

    // Round after round of the strip, every jump is revealed: the frame that completed as
    // power save began was drawn at once that one time only.
    for (int jump = 0; jump < 7; ++jump) {
        const std::int32_t from = scene->phase();
        while (scene->phase() == from) {
            scene->draw(target.dc(), back.dc(), false, false, nullptr);
            scene->advance();
        }
        pacer.events.clear();
        scene->draw(target.dc(), back.dc(), false, false, nullptr);
        EXPECT_EQ(pacer.waits(), 10) << "the jump to phase " << scene->phase();
    }
}

TEST(SceneDrawing, LineRevealOnALowScreenRunsFromTheBottomUp) {
    SceneSetup setup = stripSetup(2, 32, 16);
    setup.motionWhilePowerSave = 0;
    auto scene = build(std::move(setup));
    ASSERT_FALSE(scene->isBroken());
    DibSurface target(32, 16, kSentinel);
    DibSurface back(32, 16);
    scene->draw(target.dc(), nullptr, true, false, nullptr);
    advanceToFirstPowerSaveJump(*scene);
    std::vector<bool> atFirstPause;
    RecordingPacer pacer;
    pacer.onEvent = [&](bool wait) {
        if (wait && atFirstPause.empty())
            atFirstPause = target.differing(kSentinel);
    };
    scene->setRevealPacer(&pacer);
    target.fill(kSentinel);
    scene->draw(target.dc(), back.dc(), false, false, nullptr);
    // Ten lines, then the eleventh, before the first pause: the bottom eleven.
    EXPECT_EQ(atFirstPause, rectMask(32, 16, RECT{0, 5, 32, 16}));
    EXPECT_EQ(touched(target), 32 * 16);
}

TEST(SceneDrawing, ABrokenSceneDrawsAndMovesNothing) {
    SceneSetup setup = tiledSetup(MoveDrift, {0, 0});
    setup.typeRead = false;
    DibSurface window(W, H, kSentinel);
    Scene scene(std::move(setup), window.dc());
    ASSERT_TRUE(scene.isBroken());
    DibSurface back(W, H, kSentinel);
    scene.advance();
    scene.finishMotion();
    scene.draw(window.dc(), back.dc(), true, true, nullptr);
    scene.revealScene(window.dc(), back.dc());
    EXPECT_EQ(touched(window), 0);
}

// What the fast path leaves on the screen equals a complete repaint of the same state, frame
// after frame: through holds, cross-fades and glides, power save with its jumps, repaint
// requests, and sprites at the edges or reaching past them. Two Scenes advance in step (the
// same random numbers); one is drawn as the render thread draws, the other repainted whole.
// Onto a composed target a third, out of power save, shows that a frame whose whole view
// changes reaches the target as one copy.
TEST(SceneDrawing, TheFastPathShowsWhatAFullRepaintShowsAfterEveryFrame) {
    struct Place {
        const char* name;
        POINT position;
        SIZE size;
    } places[] = {
        {"inside", {20, 10}, {16, 12}},
        {"top-left corner", {0, 0}, {16, 12}},
        {"bottom-right edge", {W - 16, H - 12}, {16, 12}},
        {"centred, wider than the screen", {-1, -1}, {90, 20}},
    };
    for (std::int32_t moveType = MoveSlideShow; moveType <= MoveWaypoints; ++moveType) {
        for (const Place& place : places) {
            for (auto [fullScreen, composed] :
                 {std::pair{true, false}, std::pair{false, false}, std::pair{true, true}}) {
                SCOPED_TRACE("move type " + std::to_string(moveType) + ", sprite " + place.name +
                             (fullScreen ? ", full screen" : ", preview") +
                             (composed ? ", composed" : ""));
                auto setupFor = [&] {
                    SceneSetup setup = moveType == MoveSlideShow
                                           ? stripSetup(3)
                                           : tiledSetup(moveType, place.position, place.size);
                    if (moveType == MoveSlideShow) {
                        setup.sprite = makeDibBitmap(place.size.cx, place.size.cy,
                                                     framedSprite(place.size.cx, place.size.cy));
                        setup.parameters.spriteX = place.position.x;
                        setup.parameters.spriteY = place.position.y;
                    }
                    setup.fullScreen = fullScreen;
                    setup.parameters.motionParamX = moveType == MoveRandomHop ? 5 : -3;
                    setup.parameters.motionParamY = moveType == MoveRandomHop ? 30 : 2;
                    setup.parameters.waypointCount = 3;
                    setup.parameters.waypoints[0] = {0, 0};
                    setup.parameters.waypoints[1] = {70, 45};
                    setup.parameters.waypoints[2] = {30, 60};
                    return setup;
                };
                auto fast = build(setupFor());
                auto whole = build(setupFor());
                auto counted = build(setupFor());
                ASSERT_FALSE(fast->isBroken());
                fast->setComposedTarget(composed);
                counted->setComposedTarget(true);
                DibSurface countedBack(W, H);
                counted->draw(countedBack.dc(), nullptr, true, false, nullptr);
                RecordingPacer fastPacer;
                RecordingPacer wholePacer;
                fast->setRevealPacer(&fastPacer);
                whole->setRevealPacer(&wholePacer);
                DibSurface fastTarget(W, H, kSentinel);
                DibSurface fastBack(W, H);
                DibSurface wholeTarget(W, H, kSentinel);
                DibSurface wholeBack(W, H);
                const RECT screen = {0, 0, W, H};
                // The render thread's start: a full redraw into the back buffer, shown whole.
                fast->draw(fastBack.dc(), nullptr, true, false, nullptr);
                whole->draw(wholeBack.dc(), nullptr, true, false, nullptr);
                BitBlt(fastTarget.dc(), 0, 0, W, H, fastBack.dc(), 0, 0, SRCCOPY);
                for (int frame = 0; frame < 300; ++frame) {
                    if (frame == 120) {
                        fast->setPowerSave(true);
                        whole->setPowerSave(true);
                    }
                    const bool repaint = frame % 97 == 50;
                    fast->draw(fastTarget.dc(), fastBack.dc(), false, repaint, nullptr);
                    whole->draw(wholeTarget.dc(), wholeBack.dc(), false, true, nullptr);
                    ASSERT_EQ(fastTarget.pixels(), wholeTarget.pixels()) << "frame " << frame;
                    if (composed && frame < 120) {
                        const SceneMotion& m = counted->motion();
                        const bool viewChanged =
                            m.moveType == MoveSlideShow
                                ? m.phase != m.drawnPhase
                                : m.viewX != m.drawnViewX || m.viewY != m.drawnViewY;
                        // A cross-fade step moves every pixel a few levels: its seams cannot
                        // be seen, so it may come in bands; nothing else may.
                        const bool fadeStep = m.moveType == MoveSlideShow && !repaint &&
                                              m.phase == (m.drawnPhase + kPhaseStep) % (3 * 256);
                        const std::vector<RECT> copies = copiesOnto([&](HDC target) {
                            counted->draw(target, countedBack.dc(), false, repaint, nullptr);
                        });
                        if (fadeStep) {
                            ASSERT_GE(copies.size(), 1u) << "frame " << frame;
                            LONG covered = 0;
                            for (const RECT& band : copies) {
                                EXPECT_EQ(band.left, 0);
                                EXPECT_EQ(band.right, W);
                                EXPECT_EQ(band.top, covered) << "bands in order, no gap";
                                covered = band.bottom;
                            }
                            EXPECT_EQ(covered, H) << "frame " << frame;
                        } else {
                            ASSERT_LE(copies.size(), 1u) << "frame " << frame << " came in pieces";
                        }
                        if ((viewChanged || repaint) && !fadeStep) {
                            ASSERT_EQ(copies.size(), 1u) << "frame " << frame;
                            EXPECT_TRUE(EqualRect(&copies[0], &screen)) << "frame " << frame;
                        }
                        std::srand(static_cast<unsigned>(frame));
                        counted->advance();
                    }
                    std::srand(static_cast<unsigned>(frame));
                    fast->advance();
                    std::srand(static_cast<unsigned>(frame));
                    whole->advance();
                }
            }
        }
    }
}
