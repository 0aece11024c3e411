#include "tests/scene/scene_test_support.h"
#include "tests/support/dib_section.h"
#include "tests/support/dib_surface.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

namespace {

constexpr int W = 64;
constexpr int H = 48;

// A type found with pictures of the given sizes, for a W x H screen.
SceneSetup withPictures(std::int32_t moveType, SIZE background, SIZE sprite) {
    SceneSetup setup = foundType(moveType, W, H);
    setup.background = makeDibBitmap(background.cx, background.cy, backgroundColour);
    setup.sprite = makeDibBitmap(sprite.cx, sprite.cy, framedSprite(sprite.cx, sprite.cy));
    return setup;
}

std::unique_ptr<Scene> build(SceneSetup setup) {
    DibSurface window(W, H);
    return std::make_unique<Scene>(std::move(setup), window.dc());
}

} // namespace

TEST(SceneConstruction, TakesItsNumbersFromTheRecordAndItsSizesFromThePictures) {
    SceneSetup setup = withPictures(MoveDrift, {100, 70}, {16, 12});
    setup.motionWhilePowerSave = 2;
    setup.skipIfReqFixedPos = false;
    setup.parameters.motionParamX = 3;
    setup.parameters.motionParamY = -2;
    setup.parameters.spriteX = 20;
    setup.parameters.spriteY = 10;
    auto scene = build(std::move(setup));
    ASSERT_FALSE(scene->isBroken());
    EXPECT_TRUE(scene->fullScreen());
    EXPECT_EQ(scene->moveType(), MoveDrift);
    EXPECT_EQ(scene->screenWidth(), W);
    EXPECT_EQ(scene->screenHeight(), H);
    EXPECT_EQ(scene->motionWhilePowerSave(), 2);
    const SceneMotion& m = scene->motion();
    EXPECT_EQ(m.backgroundWidth, 100);
    EXPECT_EQ(m.backgroundHeight, 70);
    EXPECT_EQ(m.motionParamX, 3);
    EXPECT_EQ(m.motionParamY, -2);
    EXPECT_EQ(m.spriteAlpha, 255);
    EXPECT_FALSE(m.skipIfReqFixedPos);
    EXPECT_EQ(m.wrapRect.right, 100);
    EXPECT_EQ(m.wrapRect.bottom, 70);
    const RECT sprite = scene->spriteRect();
    EXPECT_EQ(sprite.left, 20);
    EXPECT_EQ(sprite.top, 10);
    EXPECT_EQ(sprite.right, 36);
    EXPECT_EQ(sprite.bottom, 22);
    EXPECT_EQ(scene->viewX(), 0);
    EXPECT_EQ(scene->viewY(), 0);
}

TEST(SceneConstruction, NegativeSpritePositionsCentreTheSpriteAndAreNotScaled) {
    struct Case {
        SIZE sprite;
        POINT position;
        bool scaled;
        POINT expected;
    } cases[] = {
        {{16, 12}, {-1, -7}, true, {(W - 16) / 2, (H - 12) / 2}},
        {{16, 12}, {512, 384}, true, {512 * W / 1024, 384 * H / 768}},
        {{16, 12}, {30, -2}, false, {30, (H - 12) / 2}},
        // A sprite wider than the screen is centred too, reaching out on both sides.
        {{90, 10}, {-1, 5}, false, {(W - 90) / 2, 5}},
        // Beyond the screen's edge draws as on the edge.
        {{8, 8}, {5000, 10}, false, {W, 10}},
    };
    for (const Case& c : cases) {
        SceneSetup setup = withPictures(MoveClock, {100, 70}, c.sprite);
        setup.scaledFromReference = c.scaled;
        setup.parameters.spriteX = c.position.x;
        setup.parameters.spriteY = c.position.y;
        auto scene = build(std::move(setup));
        ASSERT_FALSE(scene->isBroken());
        EXPECT_EQ(scene->spriteRect().left, c.expected.x) << c.position.x << "," << c.position.y;
        EXPECT_EQ(scene->spriteRect().top, c.expected.y) << c.position.x << "," << c.position.y;
    }
}

TEST(SceneConstruction, ASlideShowResumesFromAPhaseRoundedDownInsideTheStrip) {
    struct Case {
        std::int32_t stored;
        std::int32_t phase;
        const char* why;
    } cases[] = {
        {0, 0, "nothing stored"},
        {516, 516, "a multiple of four"},
        {1023, 1020, "rounded toward zero to a multiple of four"},
        {-3, 0, "a small negative phase"},
        {-700, 0, "a negative phase would address no frame"},
        {5 * 256, 0, "beyond the strip"},
    };
    for (const Case& c : cases) {
        SceneSetup setup = withPictures(MoveSlideShow, {5 * W, H}, {8, 8}); // five frames
        setup.resume.value1 = c.stored;
        auto scene = build(std::move(setup));
        ASSERT_FALSE(scene->isBroken()) << c.why;
        EXPECT_EQ(scene->phase(), c.phase) << c.why;
        EXPECT_EQ(scene->motion().drawnPhase, c.phase + 1) << c.why;
        EXPECT_EQ(scene->motion().holdFrames, 30) << c.why;
    }
}

TEST(SceneConstruction, WaypointsStartAtTheFirstOrResumeInsideTheBackgroundAndTheList) {
    struct Case {
        ResumeValues resume;
        POINT view;
        std::int32_t index;
        const char* why;
    } cases[] = {
        {{0, 0, 0}, {10, 10}, 1, "nothing stored: at the first waypoint, heading for the next"},
        {{250, -1, 3}, {50, 69}, 0, "an index equal to the count"},
        {{INT_MIN, INT_MAX, 2}, {52, 57}, 2, "views wrap: -2147483648 mod 100, 2147483647 mod 70"},
        {{5, 6, -1}, {5, 6}, 0, "a negative index"},
    };
    for (const Case& c : cases) {
        SceneSetup setup = withPictures(MoveWaypoints, {100, 70}, {8, 8});
        setup.parameters.waypointCount = 3;
        for (int i = 0; i < 3; ++i)
            setup.parameters.waypoints[i] = {10 * (i + 1), 10 * (i + 1)};
        setup.resume = c.resume;
        auto scene = build(std::move(setup));
        ASSERT_FALSE(scene->isBroken()) << c.why;
        EXPECT_EQ(scene->viewX(), c.view.x) << c.why;
        EXPECT_EQ(scene->viewY(), c.view.y) << c.why;
        EXPECT_EQ(scene->waypointIndex(), c.index) << c.why;
        EXPECT_EQ(scene->motion().waypointCount, 3);
        EXPECT_EQ(scene->motion().stepCount, 41);
    }
}

TEST(SceneConstruction, RecordsThatCannotWorkGiveBrokenScenes) {
    struct Case {
        const char* why;
        void (*spoil)(SceneSetup&);
    } cases[] = {
        {"type not read", [](SceneSetup& s) { s.typeRead = false; }},
        {"move type 5", [](SceneSetup& s) { s.moveType = 5; }},
        {"move type -1", [](SceneSetup& s) { s.moveType = -1; }},
        {"no background", [](SceneSetup& s) { s.background.reset(); }},
        {"no sprite", [](SceneSetup& s) { s.sprite.reset(); }},
        {"screen without width", [](SceneSetup& s) { s.screenWidth = 0; }},
        {"screen without height", [](SceneSetup& s) { s.screenHeight = -5; }},
        {"equal hop distances",
         [](SceneSetup& s) {
             s.moveType = MoveRandomHop;
             s.parameters.motionParamX = s.parameters.motionParamY = 7;
         }},
        {"strip narrower than the screen",
         [](SceneSetup& s) {
             s.moveType = MoveSlideShow;
             s.background = makeDibBitmap(W - 1, H, backgroundColour);
         }},
    };
    for (const Case& c : cases) {
        SceneSetup setup = withPictures(MoveDrift, {100, 70}, {8, 8});
        c.spoil(setup);
        EXPECT_TRUE(build(std::move(setup))->isBroken()) << c.why;
    }
    EXPECT_FALSE(build(withPictures(MoveDrift, {100, 70}, {8, 8}))->isBroken());
}
