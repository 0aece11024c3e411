#include "resources/resource_ids.h"
#include "settings/text_buffer.h"
#include "tests/scene/scene_fixture.h"
#include "tests/support/dib_surface.h"

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

SIZE sizeOf(HBITMAP bitmap) {
    BITMAP description = {};
    GetObjectA(bitmap, sizeof description, &description);
    return {description.bmWidth, description.bmHeight};
}

} // namespace

TEST_F(SceneLoaderTest, ReadsTheCatalogueEntryForTheScreenAndItsPicturesUnscaled) {
    picture("bg.bmp", 100, 70, backgroundColour);
    picture("sp.bmp", 16, 12, framedSprite(16, 12));
    writeType(MoveDrift, kExactKey, "wall.bmp,bg.bmp,3,-2,sp.bmp,20,10",
              "MotionWhilePowerSave=2\n");
    DibSurface window(64, 48);
    SceneSetup setup = load(window);
    ASSERT_TRUE(setup.typeRead);
    EXPECT_TRUE(setup.fullScreen);
    EXPECT_EQ(setup.screenWidth, 64);
    EXPECT_EQ(setup.screenHeight, 48);
    EXPECT_EQ(setup.moveType, MoveDrift);
    EXPECT_EQ(setup.motionWhilePowerSave, 2);
    EXPECT_TRUE(setup.skipIfReqFixedPos);
    EXPECT_FALSE(setup.scaledFromReference);
    EXPECT_EQ(setup.parameters.motionParamX, 3);
    EXPECT_EQ(setup.parameters.motionParamY, -2);
    EXPECT_EQ(setup.parameters.spriteX, 20);
    EXPECT_EQ(setup.parameters.spriteY, 10);
    EXPECT_FALSE(setup.resume.any());
    ASSERT_TRUE(setup.background);
    ASSERT_TRUE(setup.sprite);
    std::vector<COLORREF> background = pixelsOf(setup.background.get());
    ASSERT_EQ(background.size(), 100u * 70u);
    EXPECT_EQ(background[71], backgroundColour(71, 0));
    EXPECT_EQ(background[60 * 100 + 5], backgroundColour(5, 60));
    EXPECT_EQ(sizeOf(setup.sprite.get()).cx, 16);
    EXPECT_EQ(sizeOf(setup.sprite.get()).cy, 12);
}

TEST_F(SceneLoaderTest, TheReferenceEntryIsScaledToTheScreenKeepingTheSpritesKeyExact) {
    picture("bg.bmp", 512, 384, backgroundColour);
    picture("sp.bmp", 64, 48, framedSprite(64, 48));
    writeType(MoveDrift, kReferenceKey, "w,bg.bmp,10,-1,sp.bmp,512,384", "SkipIfReqFixedPos=0\n");
    DibSurface window(256, 192);
    SceneSetup setup = load(window);
    ASSERT_TRUE(setup.typeRead);
    EXPECT_TRUE(setup.scaledFromReference);
    EXPECT_FALSE(setup.skipIfReqFixedPos);
    EXPECT_EQ(setup.parameters.motionParamX, 2);  // 10 x 256 / 1024 = 2.5
    EXPECT_EQ(setup.parameters.motionParamY, -1); // -1 x 192 / 768 truncates to 0, stays -1
    EXPECT_EQ(sizeOf(setup.background.get()).cx, 128);
    EXPECT_EQ(sizeOf(setup.background.get()).cy, 96);
    EXPECT_EQ(sizeOf(setup.sprite.get()).cx, 16);
    EXPECT_EQ(sizeOf(setup.sprite.get()).cy, 12);
    // The sprite is scaled without mixing colours, so its key stays exact.
    for (COLORREF c : pixelsOf(setup.sprite.get()))
        ASSERT_TRUE(c == kKeyColour || c == kSpriteInk || c == kSpriteInkBelow) << std::hex << c;

    // The Scene places the sprite from the reference layout.
    Scene scene(std::move(setup), window.dc());
    ASSERT_FALSE(scene.isBroken());
    EXPECT_EQ(scene.spriteRect().left, 128);
    EXPECT_EQ(scene.spriteRect().top, 96);
}

TEST_F(SceneLoaderTest, ResumesOnlyInFullScreenWhenTheWallpaperWouldBeHandedOverForThisSize) {
    picture("bg.bmp", 320, 48, backgroundColour);
    picture("sp.bmp", 8, 8, framedSprite(8, 8));
    writeType(MoveWaypoints, kExactKey, "w,bg.bmp,sp.bmp,1,1,5,5");
    DibSurface window(64, 48);
    struct Case {
        int storedWidth;
        WallpaperPolicy policy;
        bool fullScreen;
        bool resumes;
        const char* why;
    } cases[] = {
        {64, WallpaperPolicy::Always, true, true, "full screen, same size, handed over"},
        {64, WallpaperPolicy::Always, false, false, "a preview never resumes"},
        {65, WallpaperPolicy::Always, true, false, "stored for another screen size"},
        {64, WallpaperPolicy::Never, true, false, "the wallpaper would not be handed over"},
    };
    for (const Case& c : cases) {
        resumeFrom(c.storedWidth, 48, 516, static_cast<std::uint32_t>(-7), 2);
        saveWallpaperPolicy(c.policy);
        SceneSetup setup = load(window, c.fullScreen);
        ASSERT_TRUE(setup.typeRead) << c.why;
        EXPECT_EQ(setup.resume.any(), c.resumes) << c.why;
        if (c.resumes) {
            EXPECT_EQ(setup.resume.value1, 516);
            EXPECT_EQ(setup.resume.value2, -7);
            EXPECT_EQ(setup.resume.value3, 2);
        }
    }
}

TEST_F(SceneLoaderTest, TypesThatCannotBeReadGiveBrokenScenes) {
    picture("bg.bmp", 100, 70, backgroundColour);
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

    // On an 8K screen the reference entry's pictures grow 7.5 x 5.625: a background of
    // 100 x 2,400 would become 13,500 rows high, more than any picture the saver takes,
    // and is refused before it is stretched; one of 100 x 2,300 (12,937 rows) is taken.
    picture("tall.bmp", 100, 2400, backgroundColour);
    picture("high.bmp", 100, 2300, backgroundColour);
    DibSurface large(7680, 4320);
    writeType(MoveDrift, kReferenceKey, "w,tall.bmp,1,1,sp.bmp,0,0");
    EXPECT_FALSE(load(large).background) << "a background that would scale past the bound";
    writeType(MoveDrift, kReferenceKey, "w,high.bmp,1,1,sp.bmp,0,0");
    SceneSetup high = load(large);
    ASSERT_TRUE(high.background);
    EXPECT_EQ(sizeOf(high.background.get()).cy, 12937);
}

TEST_F(SceneLoaderTest, ThePlaceholderIsItsPictureStretchedAndLoadingDrawsNothing) {
    DibSurface loading(96, 72, kSentinel);
    for (bool fullScreen : {false, true}) {
        auto scene = build(loading, fullScreen); // no catalogue: broken
        EXPECT_TRUE(scene->isBroken());
    }
    EXPECT_EQ(loading.countDiffering(kSentinel), 0) << "the load drew on its context";
    DibSurface preview(96, 72, kSentinel);
    showPreviewPlaceholder(preview.dc(), 96, 72);

    BitmapHandle stretched(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_PREVIEW_PLACEHOLDER),
                   IMAGE_BITMAP, 96, 72, LR_DEFAULTCOLOR)));
    ASSERT_TRUE(stretched);
    std::vector<COLORREF> expected = pixelsOf(stretched.get());
    for (int y = 0; y < 72; ++y)
        for (int x = 0; x < 96; ++x)
            ASSERT_EQ(preview.pixel(x, y), expected[y * 96 + x]) << x << "," << y;
}
