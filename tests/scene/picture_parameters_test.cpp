#include "scene/picture_parameters.h"
#include "scene/reference_scaling.h"
#include "scene/scene.h"
#include "tests/scene/scene_test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

TEST(ReferenceScaling, TruncatesTowardZeroAndNeverTurnsANegativeValueIntoZero) {
    EXPECT_EQ(scaleFromReference(-1, 800, 1024), -1);
    EXPECT_EQ(scaleFromReference(1, 800, 1024), 0);
    EXPECT_EQ(scaleFromReference(10, 800, 1024), 7);
    EXPECT_EQ(scaleFromReference(-10, 800, 1024), -7);
    EXPECT_EQ(scaleFromReference(0, 800, 1024), 0);
    EXPECT_EQ(scaleFromReference(512, 1280, 1024), 640);
    EXPECT_EQ(scaleFromReference(-1, 600, 768), -1);
    // Products beyond 32 bits neither overflow nor wrap.
    EXPECT_EQ(scaleFromReference(3000000, 1920, 1024), 5625000);
    EXPECT_EQ(scaleFromReference(INT_MAX, 2048, 1024), INT_MAX);
    EXPECT_EQ(scaleFromReference(INT_MIN, 2048, 1024), INT_MIN);
}

TEST(PictureParameters, FieldsFollowTheLayoutOfEachMoveType) {
    PictureParameters p;
    ASSERT_TRUE(
        parsePictureParameters("wall.bmp,bg.bmp,sp.bmp,12,-1", MoveSlideShow, false, 800, 600, p));
    EXPECT_STREQ(p.backgroundFile, "bg.bmp");
    EXPECT_STREQ(p.spriteFile, "sp.bmp");
    EXPECT_EQ(p.spriteX, 12);
    EXPECT_EQ(p.spriteY, -1);

    ASSERT_TRUE(
        parsePictureParameters("w,bg.jpg,-1,10,sp.gif,30,40", MoveDrift, true, 800, 600, p));
    EXPECT_STREQ(p.backgroundFile, "bg.jpg");
    EXPECT_STREQ(p.spriteFile, "sp.gif");
    EXPECT_EQ(p.motionParamX, -1);
    EXPECT_EQ(p.motionParamY, 7); // 10 x 600 / 768
    // Sprite positions are left for after the pictures are known.
    EXPECT_EQ(p.spriteX, 30);
    EXPECT_EQ(p.spriteY, 40);

    ASSERT_TRUE(parsePictureParameters("w,bg,1,10,sp,5,6,1", MoveDrift, true, 800, 600, p));
    EXPECT_EQ(p.motionParamX, 0);
    EXPECT_EQ(p.motionParamY, 7);

    ASSERT_TRUE(parsePictureParameters("w,bg,20,100,sp,5,6,3", MoveRandomHop, false, 800, 600, p));
    EXPECT_EQ(p.motionParamX, 20);
    EXPECT_EQ(p.motionParamY, 100);
    EXPECT_STREQ(p.spriteFile, "sp");
    EXPECT_TRUE(p.keepInside);
    ASSERT_TRUE(parsePictureParameters("w,bg,20,100,sp,5,6", MoveRandomHop, false, 800, 600, p));
    EXPECT_FALSE(p.keepInside);

    ASSERT_TRUE(parsePictureParameters("w,bg,sp,-1,-1", MoveClock, true, 800, 600, p));
    EXPECT_STREQ(p.spriteFile, "sp");
    EXPECT_EQ(p.spriteX, -1);

    // Missing fields read as empty names and zeros.
    ASSERT_TRUE(parsePictureParameters("w,bg", MoveSlideShow, false, 800, 600, p));
    EXPECT_STREQ(p.spriteFile, "");
    EXPECT_EQ(p.spriteX, 0);

    EXPECT_FALSE(parsePictureParameters("w,bg,sp,1,2", 5, false, 800, 600, p));
    EXPECT_FALSE(parsePictureParameters("w,bg,sp,1,2", -1, false, 800, 600, p));
}

TEST(PictureParameters, WaypointsStopAtTheEndOfTheTextAndAtOneHundred) {
    PictureParameters p;
    ASSERT_TRUE(parsePictureParameters("w,bg,sp,0,0", MoveWaypoints, false, 800, 600, p));
    EXPECT_EQ(p.waypointCount, 1);
    EXPECT_EQ(p.waypoints[0].x, 0);
    EXPECT_EQ(p.waypoints[0].y, 0);

    ASSERT_TRUE(
        parsePictureParameters("w,bg,sp,0,0,10,20,30,40,50", MoveWaypoints, false, 800, 600, p));
    EXPECT_EQ(p.waypointCount, 2);
    EXPECT_EQ(p.waypoints[1].x, 30);
    EXPECT_EQ(p.waypoints[1].y, 40);

    std::string fileSpec = "w,bg,sp,0,0";
    for (int i = 0; i < 101; ++i)
        appendPair(fileSpec, i, 1000 + i);
    ASSERT_LT(fileSpec.size(), 1000u);
    ASSERT_TRUE(parsePictureParameters(fileSpec.c_str(), MoveWaypoints, false, 800, 600, p));
    EXPECT_EQ(p.waypointCount, 100);
    EXPECT_EQ(p.waypoints[99].x, 99);
    EXPECT_EQ(p.waypoints[99].y, 1099);

    ASSERT_TRUE(
        parsePictureParameters("w,bg,sp,0,0,1024,768,-1,1", MoveWaypoints, true, 800, 600, p));
    EXPECT_EQ(p.waypointCount, 2);
    EXPECT_EQ(p.waypoints[0].x, 800);
    EXPECT_EQ(p.waypoints[0].y, 600);
    EXPECT_EQ(p.waypoints[1].x, -1);
    EXPECT_EQ(p.waypoints[1].y, 0);
}

TEST(PictureParameters, RefusesAFileNameLongerThanItsBuffer) {
    PictureParameters p;
    const std::string fits(kPathCapacity - 1, 'a');
    const std::string tooLong(kPathCapacity, 'a');
    EXPECT_TRUE(parsePictureParameters(("w," + fits + ",sp,0,0").c_str(), MoveSlideShow, false, 800,
                                       600, p));
    EXPECT_EQ(std::string(p.backgroundFile), fits);
    EXPECT_FALSE(parsePictureParameters(("w," + tooLong + ",sp,0,0").c_str(), MoveSlideShow, false,
                                        800, 600, p));
    EXPECT_FALSE(parsePictureParameters(("w,bg,1,2," + tooLong + ",0,0").c_str(), MoveDrift, false,
                                        800, 600, p));
    // The names stay terminated inside their buffers.
    EXPECT_LT(std::string(p.spriteFile).size(), kPathCapacity);
}
