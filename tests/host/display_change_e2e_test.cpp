// Runs only in a Wine virtual desktop of 800 x 600 (tests/host/display_change_session.sh),
// where the display's size can be changed while the saver runs.
#include "tests/host/e2e_fixture.h"
#include "tests/host/test_pictures.h"
#include "tests/host/user_input.h"
#include "tests/support/bmp_file.h"
#include "tests/support/registry_guard.h"
#include "tests/support/wait_for.h"

#include <vector>

namespace {

constexpr COLORREF kSpriteInk = RGB(0x20, 0xC0, 0x40);

bool changeDisplayTo(int width, int height) {
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettingsExA(nullptr, &mode, nullptr, 0, nullptr) == DISP_CHANGE_SUCCESSFUL;
}

// Gives the desktop its size back, whatever the test did.
struct DisplaySizeGuard {
    ~DisplaySizeGuard() { changeDisplayTo(800, 600); }
};

// The first column of a screen row that shows the sprite's ink, or -1.
int firstInk(int y) {
    const std::vector<COLORREF> row = readScreenRow(y);
    for (int x = 0; x < static_cast<int>(row.size()); ++x)
        if (row[x] == kSpriteInk)
            return x;
    return -1;
}

// The first column of a screen row that shows no pixel of the unscaled background, or -1.
int firstNonBackground(int y) {
    const std::vector<COLORREF> row = readScreenRow(y);
    for (int x = 0; x < static_cast<int>(row.size()); ++x)
        if (backgroundColumn(row[x]) < 0)
            return x;
    return -1;
}

class DisplayChangeRun : public SaverEndToEndTest {};

} // namespace

// Made larger while it runs, the saver covers the new screen with the 1024 x 768 layout
// scaled to it, goes on running, and a key then hands over a wallpaper of the new size.
TEST_F(DisplayChangeRun, ALargerDisplayIsCoveredWithItsOwnPictureAndHandedOverAtItsSize) {
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 800) << "not a virtual desktop of 800 x 600";
    DisplaySizeGuard restore;
    writeStillDriftCatalogue("File.1024x0768=wall.bmp,back.bmp,0,0,sprite.bmp,400,300\r\n");

    SaverProcess run(install.program(), install.quotedCommand("/s"));
    HWND window = run.waitForSaverWindow();
    ASSERT_NE(window, nullptr);
    // The 1024 x 768 layout scaled to 800 x 600: the sprite of 64 x 64 (ink in its columns
    // 8..55) is 50 x 50 at 312, 234, its ink from column 6.
    ASSERT_TRUE(waitFor([] { return firstInk(260) == 318; }, 15000)) << "no sprite at the start";

    // Two changes in a burst, as a dock brings them: the layout is built for the last.
    ASSERT_TRUE(changeDisplayTo(640, 480));
    ASSERT_TRUE(changeDisplayTo(1024, 768));
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    // At 1024 x 768, the layout's own size: the sprite at 400, 300, its ink from 408 (seen
    // at any alpha of its pulse: where the background stops).
    EXPECT_TRUE(waitFor([] { return firstNonBackground(332) == 408; }, 15000))
        << "the new screen does not show its picture";
    RECT rect = {};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 1024);
    EXPECT_EQ(rect.bottom - rect.top, 768);
    ASSERT_TRUE(run.running()) << "the change closed the saver";
    // The part of the screen that the old size did not cover shows the picture too.
    EXPECT_GE(backgroundColumn(readScreenRow(700)[1000]), 0);

    BmpPicture wallpaper;
    ASSERT_NO_FATAL_FAILURE(closeAndReadWallpaper(run, window, wallpaper));
    EXPECT_EQ(wallpaper.width, 1024);
    EXPECT_EQ(wallpaper.height, 768);
}
