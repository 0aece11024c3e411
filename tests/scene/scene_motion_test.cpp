#include "scene/scene.h"
#include "scene/scene_motion.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

SceneMotion motionOf(std::int32_t moveType, std::int32_t screenWidth, std::int32_t screenHeight,
                     std::int32_t backgroundWidth, std::int32_t backgroundHeight) {
    SceneMotion m;
    m.moveType = moveType;
    m.screenWidth = screenWidth;
    m.screenHeight = screenHeight;
    m.backgroundWidth = backgroundWidth;
    m.backgroundHeight = backgroundHeight;
    m.wrapRect = {0, 0, backgroundWidth, backgroundHeight};
    return m;
}

SYSTEMTIME timeOfDay(int hour, int minute, int second) {
    SYSTEMTIME t = {};
    t.wYear = 2024;
    t.wMonth = 5;
    t.wDay = 17;
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    return t;
}

SYSTEMTIME fakeNow;
void WINAPI readFakeNow(LPSYSTEMTIME time) {
    *time = fakeNow;
}

int wrapped(long long value, int size) {
    return static_cast<int>(((value % size) + size) % size);
}

} // namespace

TEST(SlideShowMotion, HoldsThirtyFadesSixtyFourHoldsFortyAndWrapsAfterTheLastFrame) {
    SceneMotion m = motionOf(MoveSlideShow, 100, 50, 300, 50);
    std::vector<int> expected(30, 0);
    for (int frame = 0; frame < 3; ++frame) {
        for (int step = 1; step <= 64; ++step)
            expected.push_back((frame * 256 + step * 4) % 768);
        for (int i = 0; i < 40; ++i)
            expected.push_back(((frame + 1) * 256) % 768);
    }
    for (size_t i = 0; i < expected.size(); ++i) {
        advanceMotion(m);
        ASSERT_EQ(m.phase, expected[i]) << "frame " << i;
    }
    EXPECT_FALSE(m.powerSaveLatched);
}

TEST(SlideShowMotion, SpritePulsesBetweenNinetyFiveAndFullStrength) {
    SceneMotion m = motionOf(MoveSlideShow, 100, 50, 300, 50);
    std::vector<int> alphas;
    for (int i = 0; i < 64; ++i) {
        advanceMotion(m);
        alphas.push_back(m.spriteAlpha);
    }
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(alphas[i], 245 - 10 * i) << i;
    for (int i = 16; i < 32; ++i)
        EXPECT_EQ(alphas[i], 105 + 10 * (i - 16)) << i;
    for (int i = 32; i < 64; ++i)
        EXPECT_EQ(alphas[i], alphas[i - 32]) << i;
}

TEST(SlideShowMotion, PowerSaveWaitsForTheBoundaryThenJumpsWholeFramesAndTogglesTheSprite) {
    SceneMotion m = motionOf(MoveSlideShow, 100, 50, 400, 50);
    m.holdFrames = 0;
    for (int i = 0; i < 10; ++i)
        advanceMotion(m);
    ASSERT_EQ(m.phase, 40);
    m.powerSave = true;
    // The cross-fade under way finishes at its usual pace, the sprite still pulsing.
    for (int phase = 44; phase < 256; phase += 4) {
        int alphaBefore = m.spriteAlpha;
        advanceMotion(m);
        ASSERT_EQ(m.phase, phase);
        ASSERT_FALSE(m.powerSaveLatched);
        ASSERT_NE(m.spriteAlpha, alphaBefore);
    }
    advanceMotion(m);
    ASSERT_EQ(m.phase, 256);
    EXPECT_TRUE(m.powerSaveLatched);
    // The frame just faded in is drawn as usual, not revealed.
    EXPECT_EQ(m.unrevealedPhase, 256);
    std::vector<int> boundaryAlphas{m.spriteAlpha};
    int expectedPhase = 256;
    for (int jump = 0; jump < 5; ++jump) {
        for (int hold = 0; hold < 60; ++hold) {
            int alphaBefore = m.spriteAlpha;
            advanceMotion(m);
            ASSERT_EQ(m.phase, expectedPhase);
            ASSERT_EQ(m.spriteAlpha, alphaBefore);
        }
        advanceMotion(m);
        expectedPhase = (expectedPhase + 256) % 1024;
        ASSERT_EQ(m.phase, expectedPhase);
        boundaryAlphas.push_back(m.spriteAlpha);
    }
    for (size_t i = 0; i < boundaryAlphas.size(); ++i) {
        EXPECT_TRUE(boundaryAlphas[i] == 0 || boundaryAlphas[i] == 255) << i;
        if (i > 0) {
            EXPECT_NE(boundaryAlphas[i], boundaryAlphas[i - 1]) << i;
        }
    }

    // Leaving power save also waits for a boundary; then the 40-frame hold and fading.
    m.powerSave = false;
    for (int hold = 0; hold < 60; ++hold)
        advanceMotion(m);
    ASSERT_EQ(m.phase, expectedPhase);
    advanceMotion(m);
    expectedPhase = (expectedPhase + 256) % 1024;
    EXPECT_EQ(m.phase, expectedPhase);
    EXPECT_FALSE(m.powerSaveLatched);
    EXPECT_EQ(m.holdFrames, 40);
    for (int hold = 0; hold < 40; ++hold)
        advanceMotion(m);
    advanceMotion(m);
    EXPECT_EQ(m.phase, expectedPhase + 4);
}

TEST(DriftMotion, WrapsAtTheBackgroundEdges) {
    SceneMotion m = motionOf(MoveDrift, 20, 10, 50, 30);
    m.motionParamX = -3;
    m.motionParamY = 0;
    m.viewX = 1;
    advanceMotion(m);
    EXPECT_EQ(m.viewX, 48);
    EXPECT_EQ(m.viewY, 0);

    m.motionParamX = 7;
    m.motionParamY = 11;
    m.viewX = 45;
    m.viewY = 25;
    advanceMotion(m);
    EXPECT_EQ(m.viewX, 2);
    EXPECT_EQ(m.viewY, 6);
}

TEST(DriftMotion, VelocitiesNearTheIntegerLimitsStillWrapCorrectly) {
    SceneMotion m = motionOf(MoveDrift, 20, 10, 100, 70);
    m.viewX = 50;
    m.viewY = 60;
    m.motionParamX = INT_MAX;
    m.motionParamY = INT_MIN;
    advanceMotion(m);
    EXPECT_EQ(m.viewX, wrapped(50LL + INT_MAX, 100));
    EXPECT_EQ(m.viewY, wrapped(60LL + INT_MIN, 70));
    for (int i = 0; i < 100; ++i) {
        long long x = m.viewX;
        long long y = m.viewY;
        advanceMotion(m);
        ASSERT_EQ(m.viewX, wrapped(x + INT_MAX, 100));
        ASSERT_EQ(m.viewY, wrapped(y + INT_MIN, 70));
    }
}

TEST(DriftMotion, PowerSaveStandsStillWithTheSpriteAtFullStrength) {
    SceneMotion m = motionOf(MoveDrift, 20, 10, 50, 30);
    m.motionParamX = 2;
    m.motionParamY = 1;
    for (int i = 0; i < 5; ++i)
        advanceMotion(m);
    ASSERT_EQ(m.spriteAlpha, 205);
    m.powerSave = true;
    const int x = m.viewX;
    const int y = m.viewY;
    for (int i = 0; i < 10; ++i) {
        advanceMotion(m);
        EXPECT_EQ(m.viewX, x);
        EXPECT_EQ(m.viewY, y);
        EXPECT_EQ(m.spriteAlpha, 255);
        EXPECT_FALSE(m.fadeRising);
    }
    m.powerSave = false;
    advanceMotion(m);
    EXPECT_EQ(m.viewX, x + 2);
    EXPECT_EQ(m.spriteAlpha, 245);
}

TEST(WrapView, BringsAnyRestoredOriginInside) {
    SceneMotion m = motionOf(MoveDrift, 20, 10, 100, 70);
    struct Case {
        int x, y, wx, wy;
    } cases[] = {{-1, -1, 99, 69}, {-100, -70, 0, 0},
                 {100, 70, 0, 0},  {250, 141, 50, 1},
                 {0, 69, 0, 69},   {INT_MIN, INT_MAX, wrapped(INT_MIN, 100), wrapped(INT_MAX, 70)}};
    for (const Case& c : cases) {
        m.viewX = c.x;
        m.viewY = c.y;
        wrapView(m);
        EXPECT_EQ(m.viewX, c.wx) << c.x;
        EXPECT_EQ(m.viewY, c.wy) << c.y;
    }
}

TEST(RandomHopMotion, SpriteHidesWhileGlidingThenFadesInShowsAndFadesOut) {
    std::srand(99);
    SceneMotion m = motionOf(MoveRandomHop, 20, 10, 500, 400);
    m.motionParamX = 5;
    m.motionParamY = 40;
    m.stepCount = 41;
    std::map<int, int> alphaAtStep;
    for (int i = 0; i < 200; ++i) {
        advanceMotion(m);
        auto [entry, fresh] = alphaAtStep.emplace(m.stepCount, m.spriteAlpha);
        ASSERT_EQ(entry->second, m.spriteAlpha) << "step " << m.stepCount;
    }
    for (int k = 41; k <= 60; ++k)
        EXPECT_EQ(alphaAtStep[k], 255) << k;
    EXPECT_EQ(alphaAtStep[61], 243);
    EXPECT_EQ(alphaAtStep[79], 13);
    for (int k = 0; k < 22; ++k)
        EXPECT_EQ(alphaAtStep[k], 0) << k;
    EXPECT_EQ(alphaAtStep[22], 0);
    EXPECT_EQ(alphaAtStep[23], 13);
    EXPECT_EQ(alphaAtStep[24], 26);
    EXPECT_EQ(alphaAtStep[40], 237);
    for (int k = 23; k <= 40; ++k)
        EXPECT_GT(alphaAtStep[k], alphaAtStep[k - 1]) << k;
    for (int k = 61; k <= 79; ++k)
        EXPECT_LT(alphaAtStep[k], alphaAtStep[k - 1]) << k;
}

TEST(RandomHopMotion, HopsBetweenTheMinimumAndMaximumInEitherDirectionAlongAnEasedLine) {
    std::srand(4242);
    SceneMotion m = motionOf(MoveRandomHop, 20, 10, 1000, 800);
    m.motionParamX = 10;
    m.motionParamY = 60;
    m.viewX = 500;
    m.viewY = 400;
    m.stepCount = 0;
    bool negative = false;
    bool positive = false;
    for (int cycle = 0; cycle < 30; ++cycle) {
        ASSERT_EQ(m.stepCount, 0);
        const int fromX = m.viewX;
        const int fromY = m.viewY;
        std::vector<int> xs;
        for (int step = 0; step < 22; ++step) {
            advanceMotion(m);
            xs.push_back(m.viewX);
        }
        const int dx = m.glideToX - fromX;
        const int dy = m.glideToY - fromY;
        for (int d : {dx, dy}) {
            EXPECT_GE(std::abs(d), 10);
            EXPECT_LT(std::abs(d), 60);
            (d < 0 ? negative : positive) = true;
        }
        EXPECT_EQ(m.viewX, wrapped(m.glideToX, 1000));
        EXPECT_EQ(m.viewY, wrapped(m.glideToY, 800));
        // Eased: small first steps, half way at the middle step.
        EXPECT_EQ(xs[0], fromX);
        EXPECT_EQ(xs[10], wrapped(fromX + dx / 2, 1000));
        for (int step = 0; step < 58; ++step)
            advanceMotion(m);
    }
    EXPECT_TRUE(negative);
    EXPECT_TRUE(positive);
}

TEST(RandomHopMotion, KeepInsideOnABackgroundOfTheScreensSizeClampsToTheOrigin) {
    SceneMotion m = motionOf(MoveRandomHop, 40, 30, 40, 30);
    m.motionParamX = 1;
    m.motionParamY = 5;
    m.keepInside = true;
    m.stepCount = 0;
    for (int round = 0; round < 5; ++round) {
        advanceMotion(m);
        EXPECT_EQ(m.glideToX, 0);
        EXPECT_EQ(m.glideToY, 0);
        for (int step = 1; step < 80; ++step)
            advanceMotion(m);
        EXPECT_EQ(m.viewX, 0);
        EXPECT_EQ(m.viewY, 0);
    }
}

TEST(RandomHopMotion, KeepInsideTargetsKeepTheScreenInsideTheBackground) {
    std::srand(5);
    SceneMotion m = motionOf(MoveRandomHop, 40, 30, 140, 100);
    m.motionParamX = 3;
    m.motionParamY = 30;
    m.keepInside = true;
    m.viewX = 50;
    m.viewY = 35;
    m.stepCount = 0;
    for (int cycle = 0; cycle < 40; ++cycle) {
        advanceMotion(m);
        EXPECT_GE(m.glideToX, 0);
        EXPECT_GE(m.glideToY, 0);
        EXPECT_LE(m.glideToX + 40, 140);
        EXPECT_LE(m.glideToY + 30, 100);
        for (int step = 1; step < 80; ++step)
            advanceMotion(m);
    }
}

TEST(RandomHopMotion, PowerSaveLandsAtOnceAndTogglesTheSpriteOncePerFiftyNineFrames) {
    std::srand(1);
    SceneMotion m = motionOf(MoveRandomHop, 20, 10, 1000, 800);
    m.motionParamX = 10;
    m.motionParamY = 60;
    m.viewX = 500;
    m.viewY = 400;
    m.stepCount = 0;
    m.powerSave = true;
    std::vector<int> alphas;
    for (int cycle = 0; cycle < 4; ++cycle) {
        advanceMotion(m);
        EXPECT_TRUE(m.powerSaveLatched);
        EXPECT_EQ(m.viewX, wrapped(m.glideToX, 1000));
        EXPECT_EQ(m.viewY, wrapped(m.glideToY, 800));
        EXPECT_EQ(m.stepCount, 22);
        alphas.push_back(m.spriteAlpha);
        for (int frame = 1; frame < 59; ++frame) {
            int alphaBefore = m.spriteAlpha;
            advanceMotion(m);
            ASSERT_EQ(m.spriteAlpha, alphaBefore);
        }
        ASSERT_EQ(m.stepCount, 0);
    }
    EXPECT_EQ(alphas, (std::vector<int>{0, 255, 0, 255}));
}

TEST(ClockMotion, TargetsFollowTheTimeOfDayAcrossTheWidth) {
    EXPECT_EQ(clockTargetX(2048, timeOfDay(18, 0, 0)), 1536);
    EXPECT_EQ(clockTargetX(2048, timeOfDay(23, 59, 59)), 2047);
    EXPECT_EQ(clockTargetX(2048, timeOfDay(0, 0, 0)), 0);
    EXPECT_EQ(clockTargetX(2048, timeOfDay(12, 0, 0)), 1024);
    // 100000 x 64800 does not fit 32 bits.
    EXPECT_EQ(clockTargetX(100000, timeOfDay(18, 0, 0)), 75000);
}

TEST(ClockMotion, GlidesToTheTargetThenReadsTheClockEveryFrame) {
    SceneMotion m = motionOf(MoveClock, 20, 10, 2048, 100);
    m.viewY = 33;
    m.stepCount = 0;
    fakeNow = timeOfDay(18, 0, 0);
    std::vector<int> xs;
    for (int step = 0; step < 22; ++step) {
        advanceMotion(m, &readFakeNow);
        xs.push_back(m.viewX);
        ASSERT_EQ(m.viewY, 33);
    }
    EXPECT_EQ(xs.back(), 1536);
    for (size_t i = 1; i < xs.size(); ++i)
        EXPECT_GE(xs[i], xs[i - 1]);
    for (int frame = 0; frame < 5; ++frame) {
        advanceMotion(m, &readFakeNow);
        EXPECT_EQ(m.viewX, 1536);
        EXPECT_EQ(m.stepCount, 0);
    }
    fakeNow = timeOfDay(19, 0, 0);
    advanceMotion(m, &readFakeNow);
    EXPECT_EQ(m.glideToX, 2048 * 19 / 24);
    for (int step = 1; step < 22; ++step)
        advanceMotion(m, &readFakeNow);
    EXPECT_EQ(m.viewX, 2048 * 19 / 24);
    EXPECT_EQ(m.viewY, 33);
}

TEST(ClockMotion, PowerSaveOnTheTargetTogglesTheSpriteEveryFrame) {
    SceneMotion m = motionOf(MoveClock, 20, 10, 2048, 100);
    fakeNow = timeOfDay(6, 0, 0);
    m.viewX = 512;
    m.stepCount = 0;
    m.powerSave = true;
    std::vector<int> alphas;
    for (int frame = 0; frame < 6; ++frame) {
        advanceMotion(m, &readFakeNow);
        EXPECT_EQ(m.viewX, 512);
        alphas.push_back(m.spriteAlpha);
    }
    EXPECT_EQ(alphas, (std::vector<int>{0, 255, 0, 255, 0, 255}));
}

TEST(WaypointMotion, GlidesToEachWaypointInTurnAndWrapsToTheFirst) {
    SceneMotion m = motionOf(MoveWaypoints, 20, 10, 400, 300);
    m.waypointCount = 3;
    m.waypoints[0] = {10, 5};
    m.waypoints[1] = {200, 40};
    m.waypoints[2] = {60, 100};
    m.viewX = 10;
    m.viewY = 5;
    m.waypointIndex = 1;
    m.stepCount = 41;
    std::vector<POINT> reached;
    std::vector<int> indices;
    for (int frame = 0; frame < 39 + 4 * 80; ++frame) {
        advanceMotion(m);
        if (m.stepCount == 22) {
            reached.push_back({m.viewX, m.viewY});
            indices.push_back(m.waypointIndex);
        }
    }
    ASSERT_EQ(reached.size(), 4u);
    const int expected[] = {1, 2, 0, 1};
    for (size_t i = 0; i < reached.size(); ++i) {
        EXPECT_EQ(reached[i].x, m.waypoints[expected[i]].x) << i;
        EXPECT_EQ(reached[i].y, m.waypoints[expected[i]].y) << i;
    }
    // The index moves on once the glide is done and rested one frame.
    EXPECT_EQ(indices, (std::vector<int>{1, 2, 0, 1}));
    EXPECT_EQ(m.waypointIndex, 2);
}

TEST(WaypointMotion, ASingleWaypointIsReachedOnceAndKept) {
    SceneMotion m = motionOf(MoveWaypoints, 20, 10, 400, 300);
    m.waypointCount = 1;
    m.waypoints[0] = {10, 10};
    m.viewX = 100;
    m.viewY = 100;
    m.waypointIndex = 0;
    m.stepCount = 0;
    for (int frame = 0; frame < 300; ++frame) {
        advanceMotion(m);
        EXPECT_EQ(m.waypointIndex, 0);
    }
    EXPECT_EQ(m.viewX, 10);
    EXPECT_EQ(m.viewY, 10);
}

TEST(FinishMotion, CompletesAGlideOrCrossFadeOnlyWhenAllowed) {
    SceneMotion hop = motionOf(MoveRandomHop, 20, 10, 1000, 800);
    hop.motionParamX = 10;
    hop.motionParamY = 60;
    hop.viewX = 500;
    hop.viewY = 400;
    hop.stepCount = 0;
    for (int i = 0; i < 8; ++i)
        advanceMotion(hop);
    ASSERT_NE(hop.viewX, hop.glideToX);

    SceneMotion held = hop;
    held.skipIfReqFixedPos = false;
    finishMotion(held);
    EXPECT_EQ(held.viewX, hop.viewX);
    EXPECT_EQ(held.viewY, hop.viewY);
    EXPECT_EQ(held.stepCount, hop.stepCount);

    finishMotion(hop);
    EXPECT_EQ(hop.viewX, hop.glideToX);
    EXPECT_EQ(hop.viewY, hop.glideToY);
    EXPECT_EQ(hop.stepCount, 21);

    // At rest there is nothing to finish.
    SceneMotion resting = motionOf(MoveWaypoints, 20, 10, 400, 300);
    resting.viewX = 7;
    resting.stepCount = 41;
    resting.glideToX = 99;
    finishMotion(resting);
    EXPECT_EQ(resting.viewX, 7);
    EXPECT_EQ(resting.stepCount, 41);

    SceneMotion slides = motionOf(MoveSlideShow, 100, 50, 400, 50);
    slides.phase = 300;
    slides.holdFrames = 0;
    finishMotion(slides);
    EXPECT_EQ(slides.phase, 512);
    EXPECT_EQ(slides.holdFrames, 40);
    slides.phase = 3 * 256 + 100;
    slides.powerSaveLatched = true;
    finishMotion(slides);
    EXPECT_EQ(slides.phase, 0);
    EXPECT_EQ(slides.holdFrames, 60);
    slides.phase = 512;
    slides.holdFrames = 3;
    finishMotion(slides);
    EXPECT_EQ(slides.phase, 512);
    EXPECT_EQ(slides.holdFrames, 3);
    slides.phase = 300;
    slides.skipIfReqFixedPos = false;
    finishMotion(slides);
    EXPECT_EQ(slides.phase, 300);
}
