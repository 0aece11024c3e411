#include "animator/animator.h"
#include "animator/directory_path.h"
#include "animator/scene_position.h"
#include "scene/scene.h"
#include "scene/scene_loader.h"
#include "settings/preferences.h"
#include "settings/wallpaper_decision.h"
#include "tests/animator/test_scenery.h"
#include "tests/support/bmp_file.h"
#include "tests/support/desktop_guard.h"
#include "tests/support/file_access.h"
#include "tests/support/pixels.h"
#include "tests/support/registry_guard.h"
#include "tests/support/test_window.h"
#include "tests/support/wait_for.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

DWORD storedValue(const char* name) {
    return registryDwordOrMarker(preferenceKey, name);
}

bool hasStoredValue(const char* name) {
    DWORD value = 0;
    return readRegistryDword(preferenceKey, name, value);
}

class WallpaperHandOff : public AnimatorScenery {
  protected:
    WallpaperHandOff() {
        char path[MAX_PATH * 2];
        if (formOwnWallpaperPath(nullptr, path, sizeof path))
            ownPath = path;
        dataFolder = ownPath.substr(0, ownPath.rfind('\\'));
        removeOwnFile();
        // What the desktop shows before: someone else's picture, centred.
        setRegistryString(kDesktopKey, "Wallpaper", "C:\\Users\\someone\\holiday.bmp");
        setRegistryString(kDesktopKey, "TileWallpaper", "1");
        setRegistryString(kDesktopKey, "WallpaperStyle", "0");
        deleteRegistryValue(kDesktopKey, "OriginalWallpaper");
        deleteRegistryValue(kDesktopKey, "ConvertedWallpaper");
    }
    ~WallpaperHandOff() override { removeOwnFile(); }

    void SetUp() override { ASSERT_FALSE(ownPath.empty()); }

    void removeOwnFile() const {
        SetFileAttributesA(ownPath.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(ownPath.c_str());
        RemoveDirectoryA(ownPath.c_str());
    }

    // A close once the pictures are loaded (before, there is nothing to hand over).
    void handOff(const TestWindow& window, bool fullScreen) const {
        Animator animator(GetModuleHandleA(nullptr), window.get(), fullScreen);
        ASSERT_TRUE(waitFor([&] { return animator.picturesLoaded(); }, 10000));
        animator.handOffWallpaper();
    }

    void expectDesktopUntouched() const {
        EXPECT_EQ(readRegistryText(kDesktopKey, "Wallpaper"), "C:\\Users\\someone\\holiday.bmp");
        EXPECT_EQ(readRegistryText(kDesktopKey, "TileWallpaper"), "1");
        EXPECT_EQ(readRegistryText(kDesktopKey, "WallpaperStyle"), "0");
    }
    void expectNoResumeValues() const {
        for (const char* name :
             {kResumeValue1, kResumeValue2, kResumeValue3, kResumeResolutionValue})
            EXPECT_FALSE(hasStoredValue(name)) << name;
    }

    DesktopGuard desktop;
    std::string ownPath;
    std::string dataFolder;
};

} // namespace

TEST_F(WallpaperHandOff, LastFrameBecomesTheStretchedWallpaper) {
    TestWindow window = TestWindow::fullScreen();
    const int width = window.width();
    const int height = window.height();
    stillType(width, height);
    saveWallpaperPolicy(WallpaperPolicy::Always);
    handOff(window, true);

    const std::vector<std::uint8_t> bytes = readFileBytes(ownPath);
    ASSERT_EQ(bytes.size(), bmpFileLength(width, height));
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    // The middle pixel of the middle row (blue, green, red) is the picture's colour.
    const std::size_t middle =
        54 + static_cast<std::size_t>((width * 3 + 3) & ~3) * (height / 2) + (width / 2) * 3;
    EXPECT_EQ(static_cast<unsigned char>(bytes[middle]), kSceneColour & 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[middle + 1]), (kSceneColour >> 8) & 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[middle + 2]), (kSceneColour >> 16) & 0xFF);

    EXPECT_EQ(readRegistryText(kDesktopKey, "TileWallpaper"), "0");
    EXPECT_EQ(readRegistryText(kDesktopKey, "WallpaperStyle"), "2");
    EXPECT_STRCASEEQ(readRegistryText(kDesktopKey, "Wallpaper").c_str(), ownPath.c_str());
    EXPECT_STRCASEEQ(currentDesktopWallpaper().c_str(), ownPath.c_str());

    EXPECT_EQ(storedValue(kResumeValue1), 0u);
    EXPECT_EQ(storedValue(kResumeValue2), 0u);
    EXPECT_EQ(storedValue(kResumeValue3), 0u);
    EXPECT_EQ(storedValue(kResumeResolutionValue),
              (static_cast<DWORD>(height) << 16) | static_cast<DWORD>(width));
    EXPECT_EQ(folderEntries(dataFolder),
              std::set<std::string>{"CreatedFileByTolvaneScreenSaver.bmp"})
        << "nothing but the picture is left in the data folder";
}

// A close while the render thread animates: the hand-off draws into the thread's back
// buffer and the thread lets go of its surfaces and the window's context only afterwards,
// so every close leaves the complete picture, however the two threads meet.
TEST_F(WallpaperHandOff, EveryCloseInTheMainLoopLeavesTheCompletePicture) {
    TestWindow window = TestWindow::fullScreen();
    movingType(window.width(), window.height());
    saveWallpaperPolicy(WallpaperPolicy::Always);
    for (int close = 0; close < 4; ++close) {
        SCOPED_TRACE("close " + std::to_string(close));
        removeOwnFile();
        {
            Animator animator(GetModuleHandleA(nullptr), window.get(), true);
            ASSERT_TRUE(waitFor([&] { return animator.frameStatistics().frames > 2u; }, 10000))
                << "the main loop did not start";
            idleFor(static_cast<DWORD>(close) * 23); // a different point of the frame each time
            animator.handOffWallpaper();
        }
        EXPECT_EQ(readFileBytes(ownPath).size(), bmpFileLength(window.width(), window.height()));
    }
}

TEST_F(WallpaperHandOff, ResumeValuesFollowTheMoveType) {
    // Not the screen's size: the stored resolution must be the window's.
    const int width = 300;
    const int height = 200;
    TestWindow window(width, height);
    const std::string sprite = uprightSprite();
    const std::string strip = solidPicture("strip.bmp", width * 3, height, kSceneColour);
    const std::string wide = solidPicture("wide.bmp", width * 2, height * 2, kSceneColour);
    saveWallpaperPolicy(WallpaperPolicy::Always);

    struct Case {
        int moveType;
        std::string fileSpec;
        DWORD restored[3]; // what the previous run stored: the Scene starts from it
        DWORD saved[3];
    };
    const Case cases[] = {
        // The slide show's phase 300 lies in a cross-fade: the close completes it to 512.
        {0, "wall.bmp," + strip + "," + sprite + ",100,60", {300, 0, 0}, {512, 0, 0}},
        {1, "wall.bmp," + wide + ",0,0," + sprite + ",100,60", {50, 60, 0}, {50, 60, 0}},
        {2, "wall.bmp," + wide + ",10,40," + sprite + ",100,60,0", {70, 80, 0}, {70, 80, 0}},
        {3, "wall.bmp," + wide + "," + sprite + ",100,60", {90, 10, 0}, {90, 10, 0}},
        {4,
         "wall.bmp," + wide + "," + sprite + ",100,60,0,0,100,50,200,100",
         {20, 30, 2},
         {20, 30, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "move type " << c.moveType);
        addType(0, c.moveType, width, height, c.fileSpec);
        writeCatalogue(0);
        writePreference(kResumeValue1, c.restored[0]);
        writePreference(kResumeValue2, c.restored[1]);
        writePreference(kResumeValue3, c.restored[2]);
        writePreference(kResumeResolutionValue, resumeResolution(width, height));
        // Closed during the start-up fade: the motion has not moved yet.
        handOff(window, true);
        EXPECT_EQ(storedValue(kResumeValue1), c.saved[0]);
        EXPECT_EQ(storedValue(kResumeValue2), c.saved[1]);
        EXPECT_EQ(storedValue(kResumeValue3), c.saved[2]);
        EXPECT_EQ(storedValue(kResumeResolutionValue), (200u << 16) | 300u);
        const std::vector<std::uint8_t> bytes = readFileBytes(ownPath);
        ASSERT_EQ(bytes.size(), bmpFileLength(width, height));
        // The file's rows run bottom-up, three bytes a pixel (blue, green, red).
        const auto pixel = [&](int x, int y) {
            const std::size_t at =
                54 + static_cast<std::size_t>((width * 3 + 3) & ~3) * (height - 1 - y) + x * 3;
            return rgb(bytes[at + 2], bytes[at + 1], bytes[at]);
        };
        EXPECT_EQ(pixel(120, 70), kInkAbove) << "the sprite is upside down in the wallpaper";
        EXPECT_EQ(pixel(120, 90), kInkBelow);
        EXPECT_EQ(pixel(100, 60), kSceneColour) << "the key shows the background";
    }
}

TEST_F(WallpaperHandOff, ConditionalPolicyHandsOffOnlyOverItsOwnWallpaper) {
    TestWindow window(300, 200);
    stillType(300, 200);
    saveWallpaperPolicy(WallpaperPolicy::Conditional);
    handOff(window, true);
    EXPECT_FALSE(fileExists(ownPath)) << "the user's own picture was replaced";
    expectDesktopUntouched();
    expectNoResumeValues();

    setRegistryString(kDesktopKey, "Wallpaper", ownPath);
    handOff(window, true);
    EXPECT_EQ(readFileBytes(ownPath).size(), bmpFileLength(300, 200));
    EXPECT_EQ(readRegistryText(kDesktopKey, "WallpaperStyle"), "2");
    EXPECT_TRUE(hasStoredValue(kResumeResolutionValue));
}

TEST_F(WallpaperHandOff, NeverPolicyPreviewAndBrokenSceneWriteNothing) {
    TestWindow window(300, 200);
    stillType(300, 200);
    saveWallpaperPolicy(WallpaperPolicy::Never);
    handOff(window, true);
    saveWallpaperPolicy(WallpaperPolicy::Always);
    handOff(window, false);
    brokenType(300, 200);
    handOff(window, true);

    EXPECT_FALSE(fileExists(ownPath));
    expectDesktopUntouched();
    expectNoResumeValues();
}

TEST_F(WallpaperHandOff, PreviewSceneStoresNoPosition) {
    TestWindow window(300, 200);
    stillType(300, 200);
    saveWallpaperPolicy(WallpaperPolicy::Always);
    WindowDC dc(window.get());
    Scene preview(loadSceneSetup(0, dc.get(), 300, 200, false), dc.get());
    ASSERT_FALSE(preview.isBroken());
    saveScenePosition(preview);
    expectNoResumeValues();
}

// The picture is written beside the target first: when the target cannot be replaced,
// nothing of what the desktop shows changes, and nothing is left behind.
TEST_F(WallpaperHandOff, TargetThatIsAFolderChangesNothing) {
    TestWindow window(300, 200);
    stillType(300, 200);
    saveWallpaperPolicy(WallpaperPolicy::Always);
    ASSERT_TRUE(CreateDirectoryA(ownPath.c_str(), nullptr));
    handOff(window, true);

    EXPECT_TRUE(isFolder(ownPath));
    expectDesktopUntouched();
    expectNoResumeValues();
    EXPECT_EQ(folderEntries(dataFolder),
              std::set<std::string>{"CreatedFileByTolvaneScreenSaver.bmp"});
}

TEST_F(WallpaperHandOff, FailedReplacementKeepsThePreviousPictureByteForByte) {
    TestWindow window(300, 200);
    stillType(300, 200);
    saveWallpaperPolicy(WallpaperPolicy::Always);
    // The previous hand-off's picture, on the desktop, with its resume values (of another
    // screen size, so that this run does not start from them).
    writeBmp(ownPath, 40, 30, [](int x, int y) { return RGB(x * 6, y * 8, 99); });
    const std::vector<std::uint8_t> previous = readFileBytes(ownPath);
    setRegistryString(kDesktopKey, "Wallpaper", ownPath);
    setRegistryString(kDesktopKey, "TileWallpaper", "0");
    setRegistryString(kDesktopKey, "WallpaperStyle", "2");
    writePreference(kResumeValue1, 11);
    writePreference(kResumeValue2, 22);
    writePreference(kResumeValue3, 33);
    writePreference(kResumeResolutionValue, resumeResolution(40, 30));
    {
        // Another program has the picture open: it cannot be replaced.
        KernelHandle reader(CreateFileA(ownPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(reader);
        handOff(window, true);
    }
    EXPECT_EQ(readFileBytes(ownPath), previous);
    EXPECT_STRCASEEQ(readRegistryText(kDesktopKey, "Wallpaper").c_str(), ownPath.c_str());
    EXPECT_EQ(readRegistryText(kDesktopKey, "TileWallpaper"), "0");
    EXPECT_EQ(readRegistryText(kDesktopKey, "WallpaperStyle"), "2");
    EXPECT_EQ(storedValue(kResumeValue1), 11u);
    EXPECT_EQ(storedValue(kResumeValue2), 22u);
    EXPECT_EQ(storedValue(kResumeValue3), 33u);
    EXPECT_EQ(storedValue(kResumeResolutionValue), resumeResolution(40, 30));
    EXPECT_EQ(folderEntries(dataFolder),
              std::set<std::string>{"CreatedFileByTolvaneScreenSaver.bmp"});
}

TEST_F(WallpaperHandOff, TemporaryFilesThatAKilledRunLeftBehindAreRemoved) {
    TestWindow window(300, 200);
    stillType(300, 200);
    saveWallpaperPolicy(WallpaperPolicy::Always);
    createDirectoryPath(dataFolder.c_str());
    for (const char* leftover : {"owp1A2B.tmp", "owpFFFF.tmp"})
        ASSERT_TRUE(CloseHandle(CreateFileA((dataFolder + "\\" + leftover).c_str(), GENERIC_WRITE,
                                            0, nullptr, CREATE_ALWAYS, 0, nullptr)));
    // Someone else's file in the folder stays.
    const std::string notOurs = dataFolder + "\\notes.tmp";
    ASSERT_TRUE(CloseHandle(
        CreateFileA(notOurs.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)));
    handOff(window, true);
    EXPECT_EQ(folderEntries(dataFolder),
              (std::set<std::string>{"CreatedFileByTolvaneScreenSaver.bmp", "notes.tmp"}));
    DeleteFileA(notOurs.c_str());
}
