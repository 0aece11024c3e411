#include "scene_fixture.h"

#include <algorithm>
#include <string>

namespace {

const char* const kExactKey = "File.0064x0048";
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
COLORREF tiledPixel(int x, int y, const SceneMotion& m, const RECT& sprite, int alpha) {
    COLORREF under =
        backgroundColour((x + m.viewX) % m.backgroundWidth, (y + m.viewY) % m.backgroundHeight);
    bool inside =
        x > sprite.left && x < sprite.right - 1 && y > sprite.top && y < sprite.bottom - 1;
    return inside && alpha > 0 ? blend(kSpriteInk, under, alpha) : under;
}

// Checks the pixels of region (the whole target by default).
void expectTiledPicture(const DibSurface& target, Scene& scene, int alpha, const char* when,
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

} // namespace

TEST_F(SceneTest, TiledTypesRedrawOnlyWhatChanged) {
    picture("bg.bmp", 100, 70, backgroundColour);
    picture("sp.bmp", 16, 12, framedSprite(16, 12));
    struct Place {
        int x, y;
    } places[] = {{20, 10}, {0, 0}, {56, 40}};
    for (const Place& place : places) {
        SCOPED_TRACE("sprite at " + std::to_string(place.x) + "," + std::to_string(place.y));
        writeType(MoveDrift, kExactKey,
                  "w,bg.bmp,0,0,sp.bmp," + std::to_string(place.x) + "," + std::to_string(place.y));
        DibSurface window(W, H);
        auto scene = build(window);
        ASSERT_FALSE(scene->isBroken());
        SceneMotion& m = SceneTestAccess::motion(*scene);
        const RECT sprite = scene->spriteRect();
        DibSurface target(W, H, kSentinel);
        DibSurface back(W, H);

        scene->draw(target.dc(), back.dc(), false, false, nullptr);
        EXPECT_EQ(touched(target), W * H) << "the first drawing is a change";
        expectTiledPicture(target, *scene, 255, "first");

        target.fill(kSentinel);
        scene->draw(target.dc(), back.dc(), false, false, nullptr);
        EXPECT_EQ(touched(target), 0) << "nothing changed";

        scene->advance(); // the sprite fades; the view stands (velocity 0)
        ASSERT_EQ(m.spriteAlpha, 245);
        target.fill(kSentinel);
        scene->draw(target.dc(), back.dc(), false, false, nullptr);
        EXPECT_EQ(target.differing(kSentinel), rectMask(W, H, sprite))
            << "only the sprite's rectangle";
        expectTiledPicture(target, *scene, 245, "sprite faded", sprite);

        target.fill(kSentinel);
        scene->draw(target.dc(), back.dc(), false, false, nullptr);
        EXPECT_EQ(touched(target), 0);

        // The view moves while the sprite keeps its alpha: the bands move, and so does the
        // background that shows through the sprite's transparent pixels.
        m.viewX = 30;
        m.viewY = 5;
        target.fill(kSentinel);
        scene->draw(target.dc(), back.dc(), false, false, nullptr);
        expectTiledPicture(target, *scene, 245, "view moved");

        // Hidden sprite and a moving view: the whole screen is tiled.
        m.spriteAlpha = 0;
        m.viewX = 99;
        m.viewY = 69;
        target.fill(kSentinel);
        scene->draw(target.dc(), back.dc(), false, false, nullptr);
        expectTiledPicture(target, *scene, 0, "hidden sprite, view moved");

        target.fill(kSentinel);
        scene->draw(target.dc(), back.dc(), false, false, nullptr);
        EXPECT_EQ(touched(target), 0);
        scene->draw(target.dc(), back.dc(), false, true, nullptr);
        EXPECT_EQ(touched(target), W * H) << "a repaint draws everything";
        expectTiledPicture(target, *scene, 0, "repaint");

        // A full redraw shows the sprite at full strength whatever its alpha.
        target.fill(kSentinel);
        scene->draw(target.dc(), nullptr, true, false, nullptr);
        expectTiledPicture(target, *scene, 255, "full redraw");
    }
}

TEST_F(SceneTest, WithoutABackBufferTheSpriteRectangleIsComposedApart) {
    picture("bg.bmp", 100, 70, backgroundColour);
    picture("sp.bmp", 16, 12, framedSprite(16, 12));
    picture("wide.bmp", 90, 12, framedSprite(90, 12));
    // The small sprite's rectangle crosses the background's right edge; the wide one is
    // centred left of the screen, so its rectangle's origin lies left of the view's.
    struct Case {
        const char* sprite;
        int viewX;
    } cases[] = {{"sp.bmp,20,10", 97}, {"wide.bmp,-1,30", 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sprite);
        writeType(MoveDrift, kExactKey, std::string("w,bg.bmp,0,0,") + c.sprite);
        DibSurface window(W, H);
        auto scene = build(window);
        ASSERT_FALSE(scene->isBroken());
        SceneMotion& m = SceneTestAccess::motion(*scene);
        m.viewX = c.viewX;
        m.viewY = 3;
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

TEST_F(SceneTest, SlideShowAtPhase128ShowsTwoFramesHalfAndHalf) {
    picture("strip.bmp", 3 * W, H, stripColour);
    picture("none.bmp", 8, 8, [](int, int) { return kKeyColour; });
    writeType(MoveSlideShow, kExactKey, "w,strip.bmp,none.bmp,0,0");
    DibSurface window(W, H);
    auto scene = build(window);
    ASSERT_FALSE(scene->isBroken());
    SceneMotion& m = SceneTestAccess::motion(*scene);
    struct Case {
        int phase, frame, next;
    } cases[] = {{128, 0, 1}, {256 + 128, 1, 2}, {2 * 256 + 128, 2, 0}};
    for (const Case& c : cases) {
        m.phase = c.phase;
        DibSurface direct(W, H, kSentinel);
        scene->draw(direct.dc(), nullptr, true, false, nullptr);
        DibSurface target(W, H, kSentinel);
        DibSurface back(W, H);
        DibSurface scratch(W, H);
        scene->draw(target.dc(), back.dc(), false, true, scratch.dc());
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                COLORREF expected =
                    blend(stripColour(c.next * W + x, y), stripColour(c.frame * W + x, y), 128);
                ASSERT_TRUE(nearColour(direct.pixel(x, y), expected, 1))
                    << "phase " << c.phase << " direct at " << x << "," << y;
                ASSERT_TRUE(nearColour(target.pixel(x, y), expected, 1))
                    << "phase " << c.phase << " buffered at " << x << "," << y;
            }
        }
    }
}

TEST_F(SceneTest, SlideShowRedrawsTheSpriteWhileHoldingAndEverythingWhileFading) {
    picture("strip.bmp", 2 * W, H, stripColour);
    picture("sp.bmp", 16, 12, framedSprite(16, 12));
    writeType(MoveSlideShow, kExactKey, "w,strip.bmp,sp.bmp,10,20");
    DibSurface window(W, H);
    auto scene = build(window);
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

    SceneTestAccess::motion(*scene).holdFrames = 0;
    scene->advance();
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

TEST_F(SceneTest, FullScreenPowerSaveJumpsAreRevealedAndPreviewJumpsDrawnAtOnce) {
    picture("bg.bmp", 100, 70, backgroundColour);
    picture("sp.bmp", 16, 12, framedSprite(16, 12));
    writeType(MoveWaypoints, kExactKey, "w,bg.bmp,sp.bmp,20,10,0,0,50,30",
              "MotionWhilePowerSave=0\n");
    for (bool fullScreen : {true, false}) {
        SCOPED_TRACE(fullScreen ? "full screen" : "preview");
        DibSurface window(W, H);
        auto scene = build(window, fullScreen);
        ASSERT_FALSE(scene->isBroken());
        RecordingPacer pacer;
        SceneTestAccess::setRevealPacer(*scene, &pacer);
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

TEST_F(SceneTest, SlideShowPowerSaveJumpIsRevealedInTheGridStyle) {
    picture("strip.bmp", 3 * W, H, stripColour);
    picture("none.bmp", 8, 8, [](int, int) { return kKeyColour; });
    writeType(MoveSlideShow, kExactKey, "w,strip.bmp,none.bmp,0,0");
    DibSurface window(W, H);
    auto scene = build(window);
    ASSERT_FALSE(scene->isBroken());
    RecordingPacer pacer;
    SceneTestAccess::setRevealPacer(*scene, &pacer);
    SceneMotion& m = SceneTestAccess::motion(*scene);
    DibSurface target(W, H, kSentinel);
    DibSurface back(W, H);
    scene->draw(target.dc(), nullptr, true, false, nullptr);
    m.holdFrames = 0;
    m.powerSave = m.powerSaveLatched = true;
    scene->advance();
    ASSERT_EQ(scene->phase(), 256);
    target.fill(kSentinel);
    scene->draw(target.dc(), back.dc(), false, false, nullptr);
    // 16 x 16 blocks of 4 x 3, 25 per pause of 150 ms.
    EXPECT_EQ(pacer.waits(), 10);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            ASSERT_EQ(target.pixel(x, y), stripColour(W + x, y)) << x << "," << y;

    pacer.events.clear();
    target.fill(kSentinel);
    scene->draw(target.dc(), back.dc(), false, false, nullptr);
    EXPECT_EQ(touched(target), 0);
    EXPECT_TRUE(pacer.events.empty());
}

TEST_F(SceneTest, LineRevealOnALowScreenRunsFromTheBottomUp) {
    picture("strip.bmp", 64, 16, stripColour);
    picture("none.bmp", 4, 4, [](int, int) { return kKeyColour; });
    writeType(MoveSlideShow, "File.0032x0016", "w,strip.bmp,none.bmp,0,0",
              "MotionWhilePowerSave=0\n");
    DibSurface window(32, 16);
    auto scene = build(window);
    ASSERT_FALSE(scene->isBroken());
    DibSurface target(32, 16, kSentinel);
    DibSurface back(32, 16);
    scene->draw(target.dc(), nullptr, true, false, nullptr);
    SceneMotion& m = SceneTestAccess::motion(*scene);
    m.holdFrames = 0;
    m.powerSave = m.powerSaveLatched = true;
    scene->advance();
    std::vector<bool> atFirstPause;
    RecordingPacer pacer;
    pacer.onEvent = [&](bool wait) {
        if (wait && atFirstPause.empty())
            atFirstPause = target.differing(kSentinel);
    };
    SceneTestAccess::setRevealPacer(*scene, &pacer);
    target.fill(kSentinel);
    scene->draw(target.dc(), back.dc(), false, false, nullptr);
    // Ten lines, then the eleventh, before the first pause: the bottom eleven.
    EXPECT_EQ(atFirstPause, rectMask(32, 16, RECT{0, 5, 32, 16}));
    EXPECT_EQ(touched(target), 32 * 16);
}

TEST_F(SceneTest, ABrokenSceneDrawsAndMovesNothing) {
    DibSurface window(W, H, kSentinel);
    auto scene = build(window);
    ASSERT_TRUE(scene->isBroken());
    DibSurface back(W, H, kSentinel);
    scene->advance();
    scene->finishMotion();
    scene->draw(window.dc(), back.dc(), true, true, nullptr);
    scene->revealScene(window.dc(), back.dc());
    EXPECT_EQ(touched(window), 0);
}
