#include "animator/animator.h"
#include "animator/screen_picture.h"
#include "platform/gdi_handles.h"
#include "platform/loaded_module.h"
#include "resources/resource_ids.h"
#include "settings/preferences.h"
#include "tests/animator/test_scenery.h"
#include "tests/support/captured_picture.h"
#include "tests/support/pixels.h"
#include "tests/support/system_double.h"
#include "tests/support/test_window.h"
#include "tests/support/wait_for.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kScreenColour = rgb(0, 0, 160); // what the screen showed at the start
constexpr std::uint32_t kMarker = rgb(10, 230, 10);

bool channelBetween(std::uint32_t value, std::uint32_t a, std::uint32_t b, int shift) {
    unsigned v = (value >> shift) & 0xFF, x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
    return v >= std::min(x, y) && v <= std::max(x, y);
}

bool isBlendOf(std::uint32_t value, std::uint32_t a, std::uint32_t b) {
    return channelBetween(value, a, b, 16) && channelBetween(value, a, b, 8) &&
           channelBetween(value, a, b, 0);
}

class RenderThreadTest : public AnimatorScenery {
  protected:
    std::unique_ptr<Animator> start(const TestWindow& window, bool fullScreen) {
        return std::make_unique<Animator>(GetModuleHandleA(nullptr), window.get(), fullScreen);
    }

    // Whether the window's content changes within the bound.
    static bool changesWithin(const TestWindow& window, DWORD timeoutMs) {
        const Picture before = capture(window.get());
        return waitFor([&] { return !(capture(window.get()) == before); }, timeoutMs);
    }
};

} // namespace

TEST_F(RenderThreadTest, CrossFadeRunsFromTheScreenContentIntoTheFirstFrame) {
    TestWindow window = TestWindow::fullScreen();
    stillType(window.width(), window.height());
    ASSERT_TRUE(window.fillOnScreen(kScreenColour));
    const int x = window.width() / 2;
    const int y = window.height() / 2;

    std::vector<std::uint32_t> seen;
    auto animator = start(window, true);
    ASSERT_TRUE(waitFor(
        [&] {
            std::uint32_t pixel = pixelAt(window.get(), x, y);
            if (seen.empty() || seen.back() != pixel)
                seen.push_back(pixel);
            return pixel == kSceneColour;
        },
        10000))
        << "the fade never reached the first frame";

    std::vector<std::uint32_t> steps;
    std::copy_if(seen.begin(), seen.end(), std::back_inserter(steps),
                 [](std::uint32_t p) { return p != kScreenColour && p != kSceneColour; });
    ASSERT_GE(steps.size(), 3u) << "too few fade steps seen";
    EXPECT_LT((steps.front() >> 16) & 0xFF, 100u) << "the fade starts near the screen content";
    for (std::size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(isBlendOf(steps[i], kScreenColour, kSceneColour)) << std::hex << steps[i];
        if (i > 0) {
            EXPECT_GE((steps[i] >> 16) & 0xFF, (steps[i - 1] >> 16) & 0xFF) << "moves one way";
        }
    }
    EXPECT_TRUE(capture(window.get()).all(kSceneColour)) << "the last step is the frame itself";
}

// Under desktop composition a window's own surface is not the screen before the window
// paints: here it reads kMarker while the screen showed kScreenColour when the saver started.
// The fade still runs from the screen's picture, into a first frame whose sprite is upright.
TEST_F(RenderThreadTest, CrossFadeRunsFromTheScreensPictureNotFromTheWindowsOwnSurface) {
    TestWindow window = TestWindow::fullScreen();
    const int width = window.width();
    const int height = window.height();
    addType(0, 1, width, height,
            "wall.bmp," + solidPicture("still.bmp", width, height, kSceneColour) + ",0,0," +
                uprightSprite() + ",100,100");
    writeCatalogue(0);
    ASSERT_TRUE(window.fillOnScreen(kScreenColour));
    RECT area = {};
    GetWindowRect(window.get(), &area);
    std::unique_ptr<OffscreenSurface> screen = copyOfScreen(area);
    ASSERT_TRUE(screen);
    window.fill(kMarker);

    struct Probe {
        POINT at;
        std::uint32_t into; // what the first frame shows there
        std::vector<std::uint32_t> seen;
    } probes[] = {{{width / 2, height / 2}, kSceneColour, {}},
                  {{120, 110}, kInkAbove, {}},
                  {{120, 130}, kInkBelow, {}}};
    auto animator = std::make_unique<Animator>(GetModuleHandleA(nullptr), window.get(), true,
                                               std::move(screen));
    ASSERT_TRUE(waitFor(
        [&] {
            for (Probe& probe : probes) {
                const std::uint32_t pixel = pixelAt(window.get(), probe.at.x, probe.at.y);
                if (pixel != kMarker && (probe.seen.empty() || probe.seen.back() != pixel))
                    probe.seen.push_back(pixel);
            }
            return !probes[0].seen.empty() && probes[0].seen.back() == kSceneColour;
        },
        10000))
        << "the fade never reached the first frame";
    for (const Probe& probe : probes) {
        SCOPED_TRACE(testing::Message() << "at " << probe.at.x << "," << probe.at.y);
        EXPECT_GE(probe.seen.size(), 3u) << "too few fade steps seen";
        for (std::uint32_t pixel : probe.seen)
            EXPECT_TRUE(isBlendOf(pixel, kScreenColour, probe.into)) << std::hex << pixel;
    }
}

// A monitor in advanced colour (HDR) gives a washed-out copy: the fade begins from black
// there, and from the screen's picture everywhere else.
TEST_F(RenderThreadTest, TheStartPictureIsBlackOnAMonitorInAdvancedColour) {
    TestWindow window = TestWindow::fullScreen();
    ASSERT_TRUE(window.fillOnScreen(kScreenColour));
    RECT area = {};
    GetWindowRect(window.get(), &area);
    MONITORINFOEXA primary = {};
    primary.cbSize = sizeof primary;
    ASSERT_TRUE(GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary));
    std::string otherCase = primary.szDevice;
    CharLowerA(otherCase.data());
    struct Case {
        const char* what;
        std::vector<std::string> advanced;
        std::uint32_t expected;
    } cases[] = {
        {"no monitor in HDR", {}, kScreenColour},
        {"another monitor in HDR", {"\\\\.\\DISPLAY97"}, kScreenColour},
        {"this monitor in HDR", {"\\\\.\\DISPLAY97", otherCase}, rgb(0, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::unique_ptr<OffscreenSurface> picture = copyOfScreen(area, c.advanced);
        ASSERT_TRUE(picture);
        for (POINT at : {POINT{0, 0}, POINT{picture->width() / 2, picture->height() - 1}})
            EXPECT_EQ(dibPixel(GetPixel(picture->dc(), at.x, at.y)), c.expected);
    }
}

TEST_F(RenderThreadTest, StartStyleZeroRevealsTheSameFrameBlockByBlock) {
    TestWindow window = TestWindow::fullScreen();
    addGeneral("ScrStartStyle=0");
    stillType(window.width(), window.height());
    ASSERT_TRUE(window.fillOnScreen(kScreenColour));

    bool sawPartReveal = false;
    bool sawOtherColour = false;
    auto animator = start(window, true);
    ASSERT_TRUE(waitFor(
        [&] {
            const Picture now = capture(window.get());
            std::size_t revealed = 0, hidden = 0;
            for (std::uint32_t p : now.pixels) {
                if (p == kSceneColour)
                    ++revealed;
                else if (p == kScreenColour)
                    ++hidden;
                else
                    sawOtherColour = true;
            }
            if (revealed > 0 && hidden > 0)
                sawPartReveal = true;
            return revealed == now.pixels.size();
        },
        10000));
    EXPECT_TRUE(sawPartReveal) << "blocks came one by one";
    EXPECT_FALSE(sawOtherColour) << "a reveal copies, it does not blend";
}

TEST_F(RenderThreadTest, FramesChangeUntilPausedAndGoOnWhenResumed) {
    TestWindow window(320, 240);
    movingType(320, 240);
    auto animator = start(window, false);
    idleFor(3000); // past the fade and the pause after it
    ASSERT_TRUE(changesWithin(window, 2000));
    ASSERT_TRUE(changesWithin(window, 2000));

    animator->setPaused(true);
    idleFor(300); // a frame under way ends
    const Picture paused = capture(window.get());
    idleFor(1000);
    EXPECT_EQ(capture(window.get()), paused) << "no frame is drawn while paused";

    animator->setPaused(false);
    EXPECT_TRUE(changesWithin(window, 5000)) << "resuming goes on";
}

TEST_F(RenderThreadTest, RepaintRequestRedrawsAnUnmovedPicture) {
    TestWindow window(320, 240);
    stillType(320, 240);
    auto animator = start(window, false);
    ASSERT_TRUE(waitFor([&] { return capture(window.get()).all(kSceneColour); }, 10000));
    idleFor(800);

    const RECT centre{100, 80, 220, 160};
    window.fill(kMarker, &centre);
    idleFor(500);
    ASSERT_EQ(pixelAt(window.get(), 160, 120), kMarker) << "an unmoved picture is not redrawn";

    animator->requestRepaint();
    EXPECT_TRUE(waitFor([&] { return capture(window.get()).all(kSceneColour); }, 3000));
}

TEST_F(RenderThreadTest, CloseDuringTheFadeStopsAllDrawing) {
    TestWindow window = TestWindow::fullScreen();
    stillType(window.width(), window.height());
    saveWallpaperPolicy(WallpaperPolicy::Never);
    ASSERT_TRUE(window.fillOnScreen(kScreenColour));
    const int x = window.width() / 2;
    const int y = window.height() / 2;
    auto animator = start(window, true);
    ASSERT_TRUE(waitFor([&] { return pixelAt(window.get(), x, y) != kScreenColour; }, 5000));
    ASSERT_FALSE(capture(window.get()).all(kSceneColour)) << "the fade is still under way";

    animator->handOffWallpaper();
    window.fill(kMarker);
    idleFor(800);
    EXPECT_TRUE(capture(window.get()).all(kMarker)) << "the fade went on after the close";
}

TEST_F(RenderThreadTest, BrokenTypeShowsTheNoticeStretchedToTheWindow) {
    for (bool fullScreen : {false, true}) {
        SCOPED_TRACE(fullScreen ? "full screen" : "preview");
        TestWindow window = fullScreen ? TestWindow::fullScreen() : TestWindow(320, 240);
        brokenType(window.width(), window.height());
        BitmapHandle notice(static_cast<HBITMAP>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_NOTICE), IMAGE_BITMAP,
                       window.width(), window.height(), LR_DEFAULTCOLOR)));
        ASSERT_TRUE(notice) << "no notice bitmap among the resources";
        const Picture expected = captureBitmap(notice.get(), window.width(), window.height());
        ASSERT_FALSE(expected.all(expected.at(0, 0))) << "the notice is a picture";
        window.fill(kScreenColour);

        auto animator = start(window, fullScreen);
        EXPECT_TRUE(waitFor([&] { return capture(window.get()) == expected; }, 5000));
        // A drawing can be lost without any repaint request (one made before the window
        // reached the display, under Wine): the notice comes back by itself.
        window.fill(kMarker);
        EXPECT_TRUE(waitFor([&] { return capture(window.get()) == expected; }, 5000))
            << "the notice was lost for good";

        // Past the start (while the window may not be on the display yet, the notice is
        // drawn again at every frame), monitor power and a close draw nothing...
        idleFor(2200);
        animator->setPaused(true);
        animator->setPaused(false);
        animator->handOffWallpaper();
        window.fill(kMarker);
        idleFor(500);
        EXPECT_TRUE(capture(window.get()).all(kMarker));
        // ...but a window that lost its content gets the notice again.
        animator->requestRepaint();
        EXPECT_TRUE(waitFor([&] { return capture(window.get()) == expected; }, 5000))
            << "the notice was not drawn again";
    }
}

TEST_F(RenderThreadTest, PowerPolicyIsReadInFullScreenOnly) {
    ASSERT_TRUE(installSystemDouble(ORVIK_POWRPROF_DOUBLE_FILE, "powrprof.dll"));
    LoadedModule powrprof = loadSystemLibrary("powrprof.dll");
    auto callCount = powrprof.find<LONG(WINAPI*)()>("PowerDoubleCallCount");
    ASSERT_NE(callCount, nullptr) << "the test double of powrprof.dll was not loaded";
    setPowerPolicy("600,600,0,0");
    {
        TestWindow window(320, 240);
        movingType(320, 240);
        const LONG before = callCount();
        auto animator = start(window, false);
        idleFor(3000);
        ASSERT_TRUE(changesWithin(window, 2000)) << "the main loop runs";
        EXPECT_EQ(callCount(), before) << "a preview read the power policy";
    }
    {
        TestWindow window = TestWindow::fullScreen();
        movingType(window.width(), window.height());
        const LONG before = callCount();
        auto animator = start(window, true);
        EXPECT_TRUE(waitFor([&] { return callCount() > before; }, 10000))
            << "the first frame of the main loop checks the power policy";
    }
}
