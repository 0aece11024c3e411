#include "host/message_layers.h"
#include "platform/gdi_handles.h"
#include "tests/host/desktop_state.h"
#include "tests/host/saver_window_fixture.h"
#include "tests/host/test_pictures.h"
#include "tests/support/desktop_guard.h"
#include "tests/support/file_access.h"
#include "tests/support/registry_guard.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_catalogue.h"
#include "tests/support/wait_for.h"

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
    ASSERT_TRUE(waitFor([] { return currentAnimator() != nullptr; }, 10000));
    send(WM_CLOSE);
    EXPECT_FALSE(fileExists(ownWallpaperFile()));
    DWORD resolution = 0;
    EXPECT_FALSE(readRegistryDword(kPreferenceKey, "lBuildWpRes", resolution));
    DestroyWindow(parent);
    parent = nullptr;
    host.preview = false;

    ASSERT_NE(makeFullScreen(), nullptr);
    ASSERT_TRUE(waitFor([] { return currentAnimator() != nullptr; }, 10000));
    send(WM_CLOSE);
    EXPECT_TRUE(fileExists(ownWallpaperFile()));
    EXPECT_TRUE(readRegistryDword(kPreferenceKey, "lBuildWpRes", resolution));
    EXPECT_EQ(resolution, (static_cast<DWORD>(height) << 16) | static_cast<DWORD>(width));
}
