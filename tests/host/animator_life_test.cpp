#include "animator/animator.h"
#include "host/message_layers.h"
#include "platform/gdi_handles.h"
#include "raster/picture_file.h"
#include "resources/resource_ids.h"
#include "tests/host/desktop_state.h"
#include "tests/host/saver_window_fixture.h"
#include "tests/host/test_pictures.h"
#include "tests/support/desktop_guard.h"
#include "tests/support/dib_surface.h"
#include "tests/support/file_access.h"
#include "tests/support/registry_guard.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_catalogue.h"
#include "tests/support/wait_for.h"

#include <wtsapi32.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

namespace {

// The test program's own catalogue: a drifting type laid out for the little preview
// (so that nothing is scaled) and for the reference screen.
class AnimatedSaverTest : public SaverWindowTest {
  protected:
    void SetUp() override {
        SaverWindowTest::SetUp();
        writeBackgroundBmp(pictures.file("back.bmp"));
        writeSpriteBmp(pictures.file("sprite.bmp"));
        const std::string entry = "wall.bmp,back.bmp,2,0,sprite.bmp,-1,-1\n";
        catalogue.write("[General]\nResourcePath=" + pictures.path() +
                        "\n[Type00]\nName=Drift\nMoveType=1\nFile.0400x0300=" + entry +
                        "File.1024x0768=" + entry);
        DeleteFileA(ownWallpaperFile().c_str());
    }
    void TearDown() override {
        SaverWindowTest::TearDown();
        DeleteFileA(ownWallpaperFile().c_str());
    }

    // A frameless window whose client area is the given rectangle of the screen.
    HWND makePopupParent(int x, int y, int width, int height) {
        parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, x, y, width, height,
                                 nullptr, nullptr, instance, nullptr);
        return parent;
    }

    // The background column that the window shows at its left edge, or -1.
    int shownView() {
        RECT client = {};
        GetClientRect(window, &client);
        WindowDC dc(window);
        MemoryDC memory(dc.get());
        BitmapHandle bitmap(CreateCompatibleBitmap(dc.get(), client.right, 1));
        std::vector<COLORREF> row;
        {
            SelectedObject selected(memory.get(), bitmap.get());
            BitBlt(memory.get(), 0, 0, client.right, 1, dc.get(), 0, 10, SRCCOPY);
            for (int x = 0; x < client.right; ++x)
                row.push_back(GetPixel(memory.get(), x, 0));
        }
        return viewColumnOfRow(row);
    }

    ScopedRegistryKeyRemoval preferences{"Software\\Tolvane"};
    DesktopGuard desktop;
    TempFolder pictures;
    TestCatalogue catalogue;
};

} // namespace

TEST_F(AnimatedSaverTest, MonitorPowerPausesTheAnimationAndLowPowerChangesNothing) {
    ASSERT_NE(makePopupParent(40, 40, 400, 300), nullptr);
    ASSERT_NE(makePreview(parent), nullptr);
    int moving = -1;
    ASSERT_TRUE(waitFor([&] { return (moving = shownView()) >= 0; }, 30000));
    ASSERT_TRUE(waitFor([&] { return shownView() > moving; }, 30000)) << "the picture stands";

    SystemCommandRecorder recorder;
    send(WM_SYSCOMMAND, SC_MONITORPOWER, 2);
    EXPECT_EQ(SystemCommandRecorder::commands(), std::vector<WPARAM>{SC_MONITORPOWER})
        << "the command was not passed on";
    idleFor(400); // a frame begun before the pause may still land
    int paused = shownView();
    idleFor(1000);
    EXPECT_EQ(shownView(), paused) << "frames went on with the monitor off";
    send(WM_SYSCOMMAND, SC_MONITORPOWER, 1);
    idleFor(1000);
    EXPECT_EQ(shownView(), paused) << "low power woke the animation";

    send(WM_SYSCOMMAND, SC_MONITORPOWER, static_cast<LPARAM>(-1));
    EXPECT_TRUE(waitFor([&] { return shownView() != paused; }, 10000))
        << "the monitor came back but the picture stands";
}

TEST_F(AnimatedSaverTest, OnlyAFullScreenSaverHandsItsPictureToTheDesktop) {
    DWORD always = 2;
    setRegistryValue(kPreferenceKey, "bwpBuildWp", REG_DWORD, &always, sizeof always);
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);

    // A preview whose parent covers the whole screen has the desktop's rectangle, and
    // is still a preview.
    ASSERT_NE(makePopupParent(0, 0, width, height), nullptr);
    ASSERT_NE(makePreview(parent), nullptr);
    ASSERT_TRUE(waitFor(
        [] { return currentAnimator() != nullptr && currentAnimator()->picturesLoaded(); }, 10000));
    send(WM_CLOSE);
    EXPECT_FALSE(fileExists(ownWallpaperFile()));
    DWORD resolution = 0;
    EXPECT_FALSE(readRegistryDword(kPreferenceKey, "lBuildWpRes", resolution));
    DestroyWindow(parent);
    parent = nullptr;
    host.preview = false;

    ASSERT_NE(makeFullScreen(), nullptr);
    ASSERT_TRUE(waitFor(
        [] { return currentAnimator() != nullptr && currentAnimator()->picturesLoaded(); }, 10000));
    send(WM_CLOSE);
    EXPECT_TRUE(fileExists(ownWallpaperFile()));
    EXPECT_TRUE(readRegistryDword(kPreferenceKey, "lBuildWpRes", resolution));
    EXPECT_EQ(resolution, (static_cast<DWORD>(height) << 16) | static_cast<DWORD>(width));
}

namespace {

constexpr GUID kConsoleDisplayState = {
    0x6FE69556, 0x704A, 0x47A0, {0x8F, 0x24, 0xC2, 0x8D, 0x93, 0x6F, 0xDA, 0x47}};
constexpr GUID kMonitorPowerOn = {
    0x02731015, 0x4510, 0x4526, {0x99, 0xE6, 0xE5, 0xA1, 0x7E, 0xBD, 0x1A, 0xEA}};

// A display-power notice as the system builds it for PBT_POWERSETTINGCHANGE: the setting's
// GUID, the length of its data, and the data (a DWORD) right behind.
struct DisplayPowerNotice {
    explicit DisplayPowerNotice(const GUID& setting, DWORD state, DWORD length = sizeof(DWORD)) {
        auto* notice = reinterpret_cast<POWERBROADCAST_SETTING*>(bytes);
        notice->PowerSetting = setting;
        notice->DataLength = length;
        std::memcpy(notice->Data, &state, sizeof state);
    }
    LPARAM lParam() { return reinterpret_cast<LPARAM>(bytes); }
    alignas(POWERBROADCAST_SETTING) unsigned char bytes[sizeof(POWERBROADCAST_SETTING) + 4] = {};
};

} // namespace

TEST_F(AnimatedSaverTest, DisplayPowerAndSessionNoticesPauseAndResumeTheSaverWithoutClosingIt) {
    // A display that is off already when the saver starts: its notice comes before the
    // Animator exists.
    window = createSaverWindow(instance, fullScreenLayout());
    host.saverWindow = window;
    ASSERT_NE(window, nullptr);
    DisplayPowerNotice alreadyOff(kConsoleDisplayState, 0);
    EXPECT_EQ(send(WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, alreadyOff.lParam()), TRUE);
    ShowWindow(window, SW_SHOW);
    ASSERT_TRUE(waitFor([] { return currentAnimator() != nullptr; }, 10000));
    idleFor(3500); // the start-up fade runs, then the paused main loop
    auto standsStill = [&] {
        idleFor(400); // a frame begun before the pause may still land
        const int before = shownView();
        idleFor(1200);
        return before >= 0 && shownView() == before;
    };
    EXPECT_TRUE(standsStill()) << "a display off at the start did not pause";

    // A display-power notice (a setting), or a session change (no setting: state is the
    // WM_WTSSESSION_CHANGE event).
    struct Step {
        const char* name;
        const GUID* setting;
        DWORD state;
        DWORD length;
        bool moving;
    } steps[] = {
        {"on", &kConsoleDisplayState, 1, sizeof(DWORD), true},
        {"off", &kConsoleDisplayState, 0, sizeof(DWORD), false},
        {"dimmed, after off", &kConsoleDisplayState, 2, sizeof(DWORD), false},
        {"a notice without data", &kConsoleDisplayState, 1, 0, false},
        {"on again", &kConsoleDisplayState, 1, sizeof(DWORD), true},
        {"dimmed, after on", &kConsoleDisplayState, 2, sizeof(DWORD), true},
        {"Windows 7's monitor off", &kMonitorPowerOn, 0, sizeof(DWORD), false},
        {"Windows 7's monitor on", &kMonitorPowerOn, 1, sizeof(DWORD), true},
        {"session locked", nullptr, WTS_SESSION_LOCK, 0, false},
        {"display on while locked", &kConsoleDisplayState, 1, sizeof(DWORD), false},
        {"session unlocked", nullptr, WTS_SESSION_UNLOCK, 0, true},
        {"another user switched in", nullptr, WTS_CONSOLE_DISCONNECT, 0, false},
        {"unlocked while away", nullptr, WTS_SESSION_UNLOCK, 0, false},
        {"back on the console", nullptr, WTS_CONSOLE_CONNECT, 0, true},
        {"taken over by a remote client", nullptr, WTS_REMOTE_CONNECT, 0, false},
        {"display off while away", &kConsoleDisplayState, 0, sizeof(DWORD), false},
        {"the console again, display still off", nullptr, WTS_CONSOLE_CONNECT, 0, false},
        {"display on, on the console", &kConsoleDisplayState, 1, sizeof(DWORD), true},
        {"a logon elsewhere changes nothing", nullptr, WTS_SESSION_LOGON, 0, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        if (step.setting) {
            DisplayPowerNotice notice(*step.setting, step.state, step.length);
            EXPECT_EQ(send(WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, notice.lParam()), TRUE);
        } else {
            EXPECT_EQ(send(WM_WTSSESSION_CHANGE, step.state, 1), 0);
        }
        if (step.moving) {
            int shown = -1;
            EXPECT_TRUE(waitFor([&] { return (shown = shownView()) >= 0; }, 10000));
            EXPECT_TRUE(waitFor([&] { return shownView() != shown; }, 10000))
                << "the picture stands";
        } else {
            EXPECT_TRUE(standsStill()) << "frames went on";
        }
        ASSERT_TRUE(IsWindow(window)) << "the notice closed the saver";
    }
}

// The render thread draws with the window's own context: a repaint request is answered by
// the next frame drawing everything, never by painting on the window's thread.
TEST_F(AnimatedSaverTest, AnInvalidatedWindowIsRepaintedWhole) {
    // A picture that stands: only a repaint can bring back what is painted over.
    catalogue.write("[General]\nResourcePath=" + pictures.path() +
                    "\n[Type00]\nName=Still\nMoveType=1\nFile.1024x0768="
                    "wall.bmp,back.bmp,0,0,sprite.bmp,-1,-1\n");
    ASSERT_NE(makeFullScreen(), nullptr);
    ASSERT_TRUE(waitFor([&] { return shownView() >= 0; }, 10000)) << "no picture";
    RECT client = {};
    GetClientRect(window, &client);
    constexpr COLORREF kMarker = RGB(1, 254, 3);
    // Another context than the window's own, which the render thread holds.
    auto paintedOver = [&] {
        HDC dc = GetDCEx(window, nullptr, DCX_CACHE);
        std::vector<COLORREF> samples;
        for (int y = 5; y < client.bottom; y += 37)
            for (int x = 3; x < client.right; x += 41)
                samples.push_back(GetPixel(dc, x, y));
        ReleaseDC(window, dc);
        return std::count(samples.begin(), samples.end(), kMarker);
    };
    struct Case {
        const char* name;
        RECT invalid;
        BOOL erase;
    } cases[] = {{"a corner, no erase", {0, 0, 100, 80}, FALSE},
                 {"the whole window, with erase", client, TRUE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HDC dc = GetDCEx(window, nullptr, DCX_CACHE);
        BrushHandle brush(CreateSolidBrush(kMarker));
        FillRect(dc, &client, brush.get());
        ReleaseDC(window, dc);
        ASSERT_GT(paintedOver(), 0);
        InvalidateRect(window, &c.invalid, c.erase);
        EXPECT_TRUE(waitFor([&] { return paintedOver() == 0; }, 10000))
            << "part of the window stayed painted over";
    }
}

namespace {

// Pictures that take seconds to load, as a large one on a slow drive does.
constexpr DWORD kSlowPictureMs = 1500;
std::atomic<int> picturesBegun{0};
void slowPicture(const char*) {
    ++picturesBegun;
    Sleep(kSlowPictureMs);
}
struct SlowPictures {
    SlowPictures() {
        picturesBegun = 0;
        setPictureLoadObserver(slowPicture);
    }
    ~SlowPictures() { setPictureLoadObserver(nullptr); }
};

} // namespace

// While the pictures load (on the render thread) the window answers at once: a close ends
// the saver without waiting and without a hand-off, and the load stops at its next picture;
// a display change starts the load again for the new layout; a preview shows its
// placeholder.
TEST_F(AnimatedSaverTest, WhileThePicturesLoadTheWindowAnswersAtOnce) {
    DWORD always = 2;
    setRegistryValue(kPreferenceKey, "bwpBuildWp", REG_DWORD, &always, sizeof always);
    enum class During { Close, DisplayChange, Preview };
    for (During during : {During::Close, During::DisplayChange, During::Preview}) {
        SCOPED_TRACE(during == During::Close           ? "a close"
                     : during == During::DisplayChange ? "a display change"
                                                       : "a preview");
        SlowPictures slow;
        if (during == During::Preview) {
            ASSERT_NE(makePopupParent(40, 40, 400, 300), nullptr);
            ASSERT_NE(makePreview(parent), nullptr);
        } else {
            host.preview = false;
            window = createSaverWindow(instance, fullScreenLayout());
            host.saverWindow = window;
        }
        ASSERT_NE(window, nullptr);
        const DWORD start = GetTickCount();
        {
            WindowDC dc(window);
            EXPECT_EQ(send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get())), 1);
        }
        Animator* loading = currentAnimator();
        ASSERT_NE(loading, nullptr);
        EXPECT_LT(GetTickCount() - start, kSlowPictureMs) << "the erase waited for the pictures";
        ASSERT_TRUE(waitFor([] { return picturesBegun >= 1; }, 5000));

        if (during == During::Close) {
            // A later erase while loading shows the screen's picture again, as the first did.
            const int width = GetSystemMetrics(SM_CXSCREEN);
            const int height = GetSystemMetrics(SM_CYSCREEN);
            DibSurface surface(width, height, RGB(255, 0, 255));
            send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(surface.dc()));
            {
                WindowDC screen(nullptr);
                for (POINT at : {POINT{3, 3}, POINT{width / 2, height / 3}, POINT{width - 2, 7}})
                    EXPECT_EQ(surface.pixel(at.x, at.y), GetPixel(screen.get(), at.x, at.y))
                        << at.x << "," << at.y;
            }
            send(WM_CLOSE);
            EXPECT_LT(GetTickCount() - start, kSlowPictureMs) << "the close waited for the load";
            EXPECT_FALSE(IsWindow(window));
            EXPECT_EQ(currentAnimator(), nullptr);
            idleFor(3 * kSlowPictureMs);
            EXPECT_EQ(picturesBegun, 1) << "the load went on after the close";
            EXPECT_FALSE(fileExists(ownWallpaperFile())) << "nothing was shown to hand over";
        } else if (during == During::DisplayChange) {
            send(WM_DISPLAYCHANGE, 32,
                 MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
            ASSERT_TRUE(waitFor([&] { return currentAnimator() != loading; }, 5000))
                << "no new load for the new layout";
            ShowWindow(window, SW_SHOWNA);
            EXPECT_TRUE(waitFor([&] { return shownView() >= 0; }, 20000))
                << "the new layout never showed its picture";
            EXPECT_EQ(picturesBegun, 3) << "the old load went on";
            send(WM_CLOSE);
            EXPECT_TRUE(fileExists(ownWallpaperFile()));
            DeleteFileA(ownWallpaperFile().c_str());
        } else {
            // What the preview shows while its pictures load: the placeholder, stretched.
            BitmapHandle placeholder(
                static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(IDB_PREVIEW_PLACEHOLDER),
                                                IMAGE_BITMAP, 400, 300, LR_DEFAULTCOLOR)));
            ASSERT_TRUE(placeholder);
            WindowDC dc(window);
            MemoryDC memory(dc.get());
            SelectedObject selected(memory.get(), placeholder.get());
            // Once the window is on the display (Wine loses what is drawn before).
            EXPECT_TRUE(waitFor(
                [&] {
                    for (POINT at :
                         {POINT{5, 5}, POINT{200, 150}, POINT{390, 290}, POINT{100, 250}})
                        if (GetPixel(dc.get(), at.x, at.y) != GetPixel(memory.get(), at.x, at.y))
                            return false;
                    return true;
                },
                kSlowPictureMs / 2))
                << "no placeholder while the pictures load";
            EXPECT_EQ(picturesBegun, 1) << "still loading when the placeholder was read";
            send(WM_CLOSE);
            DestroyWindow(parent);
            parent = nullptr;
        }
        if (IsWindow(window))
            DestroyWindow(window);
        window = nullptr;
        idleFor(3 * kSlowPictureMs); // the abandoned load ends before the next case
    }
}
