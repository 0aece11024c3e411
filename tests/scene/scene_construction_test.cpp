#include "resource_ids.h"
#include "scene_fixture.h"
#include "text_buffer.h"

#include <climits>
#include <string>

namespace {

const char* const kExactKey = "File.0064x0048";
const char* const kReferenceKey = "File.1024x0768";

// Reads a bitmap's pixels through a DIB section of the same size.
std::vector<COLORREF> pixelsOf(HBITMAP bitmap) {
    BITMAP description = {};
    GetObjectA(bitmap, sizeof description, &description);
    DibSurface copy(description.bmWidth, description.bmHeight);
    MemoryDC source(copy.dc());
    SelectedObject selection(source.get(), bitmap);
    BitBlt(copy.dc(), 0, 0, description.bmWidth, description.bmHeight, source.get(), 0, 0, SRCCOPY);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < description.bmHeight; ++y)
        for (int x = 0; x < description.bmWidth; ++x)
            pixels.push_back(copy.pixel(x, y));
    return pixels;
}

} // namespace

TEST_F(SceneTest, BuildsFromTheCatalogueEntryForTheScreen) {
    picture("bg.bmp", 100, 70, backgroundColour);
    picture("sp.bmp", 16, 12, framedSprite(16, 12));
    writeType(MoveDrift, kExactKey, "wall.bmp,bg.bmp,3,-2,sp.bmp,20,10",
              "MotionWhilePowerSave=2\n");
    DibSurface window(64, 48);
    auto scene = build(window);
    ASSERT_FALSE(scene->isBroken());
    EXPECT_TRUE(scene->fullScreen());
    EXPECT_EQ(scene->moveType(), MoveDrift);
    EXPECT_EQ(scene->screenWidth(), 64);
    EXPECT_EQ(scene->screenHeight(), 48);
    EXPECT_EQ(scene->motionWhilePowerSave(), 2);
    const SceneMotion& m = scene->motion();
    EXPECT_EQ(m.backgroundWidth, 100);
    EXPECT_EQ(m.backgroundHeight, 70);
    EXPECT_EQ(m.motionParamX, 3);
    EXPECT_EQ(m.motionParamY, -2);
    EXPECT_EQ(m.spriteAlpha, 255);
    EXPECT_TRUE(m.skipIfReqFixedPos);
    EXPECT_EQ(m.wrapRect.right, 100);
    EXPECT_EQ(m.wrapRect.bottom, 70);
    RECT sprite = scene->spriteRect();
    EXPECT_EQ(sprite.left, 20);
    EXPECT_EQ(sprite.top, 10);
    EXPECT_EQ(sprite.right, 36);
    EXPECT_EQ(sprite.bottom, 22);
    EXPECT_EQ(scene->viewX(), 0);
    EXPECT_EQ(scene->viewY(), 0);
    // The pictures load unscaled, colours exact.
    DibSurface background(100, 70);
    BitBlt(background.dc(), 0, 0, 100, 70, SceneTestAccess::backgroundDC(*scene), 0, 0, SRCCOPY);
    EXPECT_EQ(background.pixel(71, 0), backgroundColour(71, 0));
    EXPECT_EQ(background.pixel(5, 60), backgroundColour(5, 60));
}

TEST_F(SceneTest, TheReferenceEntryIsScaledToTheScreen) {
    picture("bg.bmp", 512, 384, backgroundColour);
    picture("sp.bmp", 64, 48, framedSprite(64, 48));
    writeType(MoveDrift, kReferenceKey, "w,bg.bmp,10,-1,sp.bmp,512,384", "SkipIfReqFixedPos=0\n");
    DibSurface window(256, 192);
    auto scene = build(window);
    ASSERT_FALSE(scene->isBroken());
    const SceneMotion& m = scene->motion();
    EXPECT_EQ(m.backgroundWidth, 128);
    EXPECT_EQ(m.backgroundHeight, 96);
    EXPECT_EQ(m.motionParamX, 2);  // 10 x 256 / 1024 = 2.5
    EXPECT_EQ(m.motionParamY, -1); // -1 x 192 / 768 truncates to 0, stays -1
    EXPECT_FALSE(m.skipIfReqFixedPos);
    RECT sprite = scene->spriteRect();
    EXPECT_EQ(sprite.left, 128);
    EXPECT_EQ(sprite.top, 96);
    EXPECT_EQ(sprite.right - sprite.left, 16);
    EXPECT_EQ(sprite.bottom - sprite.top, 12);
    // The sprite is scaled without mixing colours, so its key stays exact.
    for (COLORREF c : pixelsOf(SceneTestAccess::sprite(*scene)))
        ASSERT_TRUE(c == kKeyColour || c == kSpriteInk) << std::hex << c;
}

TEST_F(SceneTest, NegativeSpritePositionsCentreTheSpriteAndAreNotScaled) {
    picture("bg.bmp", 512, 384, backgroundColour);
    picture("sp.bmp", 64, 48, framedSprite(64, 48));
    writeType(MoveClock, kReferenceKey, "w,bg.bmp,sp.bmp,-1,-7");
    DibSurface window(256, 192);
    auto scene = build(window);
    ASSERT_FALSE(scene->isBroken());
    RECT sprite = scene->spriteRect();
    EXPECT_EQ(sprite.left, (256 - 16) / 2);
    EXPECT_EQ(sprite.top, (192 - 12) / 2);

    // A sprite wider than the screen is centred too, reaching out on both sides.
    picture("wide.bmp", 90, 10, framedSprite(90, 10));
    writeType(MoveClock, kExactKey, "w,bg.bmp,wide.bmp,-1,5");
    DibSurface small(64, 48);
    auto wide = build(small);
    ASSERT_FALSE(wide->isBroken());
    EXPECT_EQ(wide->spriteRect().left, (64 - 90) / 2);
    EXPECT_EQ(wide->spriteRect().top, 5);
}

TEST_F(SceneTest, WaypointsKeepTheFirstHundredAndStartAtTheFirst) {
    picture("bg.bmp", 300, 200, backgroundColour);
    picture("sp.bmp", 8, 8, framedSprite(8, 8));
    std::string fileSpec = "w,bg.bmp,sp.bmp,0,0";
    for (int i = 0; i < 101; ++i)
        appendPair(fileSpec, 7 + i, 3 + i);
    writeType(MoveWaypoints, kExactKey, fileSpec);
    DibSurface window(64, 48);
    auto scene = build(window);
    ASSERT_FALSE(scene->isBroken());
    const SceneMotion& m = scene->motion();
    EXPECT_EQ(m.waypointCount, 100);
    EXPECT_EQ(m.waypoints[99].x, 106);
    EXPECT_EQ(scene->viewX(), 7);
    EXPECT_EQ(scene->viewY(), 3);
    EXPECT_EQ(scene->waypointIndex(), 1);
    EXPECT_EQ(m.stepCount, 41);
}

TEST_F(SceneTest, ResumesTheStoredPositionOnlyInFullScreenForTheSameScreenSize) {
    picture("bg.bmp", 320, 48, backgroundColour); // five frames of 64
    picture("sp.bmp", 8, 8, framedSprite(8, 8));
    writeType(MoveSlideShow, kExactKey, "w,bg.bmp,sp.bmp,1,1");
    DibSurface window(64, 48);

    resumeFrom(64, 48, 1023, 0, 0);
    EXPECT_EQ(build(window)->phase(), 1020);
    EXPECT_EQ(build(window, false)->phase(), 0) << "a preview never resumes";

    resumeFrom(64, 48, static_cast<std::uint32_t>(-3), 0, 0);
    EXPECT_EQ(build(window)->phase(), 0);
    resumeFrom(64, 48, static_cast<std::uint32_t>(-700), 0, 0);
    EXPECT_EQ(build(window)->phase(), 0) << "a negative phase would address no frame";
    resumeFrom(64, 48, 5 * 256, 0, 0);
    EXPECT_EQ(build(window)->phase(), 0) << "beyond the strip";

    resumeFrom(65, 48, 516, 0, 0);
    EXPECT_EQ(build(window)->phase(), 0) << "stored for another screen size";

    resumeFrom(64, 48, 516, 0, 0);
    writePreference(kWallpaperPolicyValue, Never);
    EXPECT_EQ(build(window)->phase(), 0) << "the wallpaper would not be handed over";

    writePreference(kWallpaperPolicyValue, Always);
    auto resumed = build(window);
    EXPECT_EQ(resumed->phase(), 516);
    EXPECT_EQ(resumed->motion().drawnPhase, 517);
    EXPECT_EQ(resumed->motion().holdFrames, 30);
}

TEST_F(SceneTest, RestoredViewsAndWaypointIndicesAreBroughtIntoRange) {
    picture("bg.bmp", 100, 70, backgroundColour);
    picture("sp.bmp", 8, 8, framedSprite(8, 8));
    writeType(MoveWaypoints, kExactKey, "w,bg.bmp,sp.bmp,0,0,10,10,20,20,30,30");
    DibSurface window(64, 48);

    resumeFrom(64, 48, 250, static_cast<std::uint32_t>(-1), 3);
    auto scene = build(window);
    ASSERT_FALSE(scene->isBroken());
    EXPECT_EQ(scene->viewX(), 50);
    EXPECT_EQ(scene->viewY(), 69);
    EXPECT_EQ(scene->waypointIndex(), 0) << "an index equal to the count";

    resumeFrom(64, 48, 0x80000000u, 0x7FFFFFFFu, 2);
    scene = build(window);
    EXPECT_EQ(scene->viewX(), 52); // -2147483648 mod 100
    EXPECT_EQ(scene->viewY(), 57); // 2147483647 mod 70
    EXPECT_EQ(scene->waypointIndex(), 2);

    resumeFrom(64, 48, 5, 6, static_cast<std::uint32_t>(-1));
    EXPECT_EQ(build(window)->waypointIndex(), 0);

    // Nothing stored (all zero): start at the first waypoint.
    resumeFrom(64, 48, 0, 0, 0);
    scene = build(window);
    EXPECT_EQ(scene->viewX(), 10);
    EXPECT_EQ(scene->waypointIndex(), 1);
}

TEST_F(SceneTest, ScenesThatCannotWorkAreBroken) {
    picture("bg.bmp", 100, 70, backgroundColour);
    picture("narrow.bmp", 63, 48, backgroundColour);
    picture("thin.bmp", 10, 100, backgroundColour); // 0 pixels wide from the reference entry
    picture("sp.bmp", 8, 8, framedSprite(8, 8));
    pictures.writeFile("text.bmp", "this is no picture at all");
    DibSurface window(64, 48);
    struct Case {
        int moveType;
        const char* key;
        std::string fileSpec;
        const char* why;
    } cases[] = {
        {MoveDrift, kExactKey, "w,bg.bmp,1,1,missing.bmp,0,0", "sprite file missing"},
        {MoveDrift, kExactKey, "w,missing.bmp,1,1,sp.bmp,0,0", "background file missing"},
        {MoveDrift, kExactKey, "w,text.bmp,1,1,sp.bmp,0,0", "background not a picture"},
        {MoveDrift, kExactKey, "w,bg.bmp,1,1,text.bmp,0,0", "sprite not a picture"},
        {5, kExactKey, "w,bg.bmp,sp.bmp,0,0", "move type 5"},
        {-1, kExactKey, "w,bg.bmp,sp.bmp,0,0", "move type -1"},
        {MoveRandomHop, kExactKey, "w,bg.bmp,7,7,sp.bmp,0,0", "equal hop distances"},
        {MoveSlideShow, kExactKey, "w,narrow.bmp,sp.bmp,0,0", "strip narrower than the screen"},
        {MoveDrift, kReferenceKey, "w,thin.bmp,1,1,sp.bmp,0,0", "background scales to 0 pixels"},
        {MoveDrift, kReferenceKey, "w,bg.bmp,1,1,thin.bmp,0,0", "sprite scales to 0 pixels"},
        {MoveDrift, kExactKey, "w,bg.bmp,1,1," + std::string(kPathCapacity, 's') + ",0,0",
         "sprite name longer than its buffer"},
        {MoveDrift, kExactKey, "w," + std::string(kPathCapacity - 10, 'b') + ",1,1,sp.bmp,0,0",
         "path longer than its buffer"},
        {MoveDrift, "File.0800x0600", "w,bg.bmp,1,1,sp.bmp,0,0", "no entry for the screen"},
    };
    for (const Case& c : cases) {
        writeType(c.moveType, c.key, c.fileSpec);
        EXPECT_TRUE(build(window)->isBroken()) << c.why;
    }
    writeType(MoveDrift, kExactKey, "w,bg.bmp,1,1,sp.bmp,0,0");
    EXPECT_FALSE(build(window)->isBroken());
    EXPECT_TRUE(build(window, true, 1)->isBroken()) << "absent type";
    DibSurface empty(1, 1);
    EXPECT_TRUE((Scene(0, empty.dc(), 0, 48, true).isBroken())) << "screen without width";
}

TEST_F(SceneTest, APreviewShowsThePlaceholderAtOnceAndAFullScreenDoesNot) {
    DibSurface preview(96, 72, kSentinel);
    auto scene = build(preview, false); // no catalogue: broken, but the placeholder shows
    EXPECT_TRUE(scene->isBroken());
    DibSurface fullScreen(96, 72, kSentinel);
    build(fullScreen, true);
    EXPECT_EQ(fullScreen.countDiffering(kSentinel), 0);

    if (!FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_PREVIEW_PLACEHOLDER),
                       MAKEINTRESOURCEA(2) /* RT_BITMAP */))
        GTEST_SKIP() << "bitmap 106 is not in the resources yet";
    BitmapHandle stretched(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_PREVIEW_PLACEHOLDER),
                   IMAGE_BITMAP, 96, 72, LR_DEFAULTCOLOR)));
    ASSERT_TRUE(stretched);
    std::vector<COLORREF> expected = pixelsOf(stretched.get());
    for (int y = 0; y < 72; ++y)
        for (int x = 0; x < 96; ++x)
            ASSERT_EQ(preview.pixel(x, y), expected[y * 96 + x]) << x << "," << y;
}
