// Runs only in a session of two monitors (tests/host/multi_monitor_session.sh): 1920 x 1080,
// the primary, and 1280 x 1024 to its right.
#include "tests/host/e2e_fixture.h"
#include "tests/host/test_pictures.h"
#include "tests/host/user_input.h"
#include "tests/support/bmp_file.h"
#include "tests/support/registry_guard.h"
#include "tests/support/wait_for.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

using MultiMonitorRun = SaverEndToEndTest;

constexpr COLORREF kSpriteInk = RGB(0x20, 0xC0, 0x40);

// The columns of a screen row that show the sprite's ink.
std::vector<int> inkColumns(int y) {
    std::vector<int> columns;
    const std::vector<COLORREF> row = readScreenRow(y);
    for (int x = 0; x < static_cast<int>(row.size()); ++x)
        if (row[x] == kSpriteInk)
            columns.push_back(x);
    return columns;
}

struct Span {
    int first;
    int last;
};

// Whether the ink of a row is exactly these spans of columns.
bool inkIs(int y, const std::vector<Span>& spans) {
    std::vector<int> expected;
    for (const Span& span : spans)
        for (int x = span.first; x <= span.last; ++x)
            expected.push_back(x);
    return inkColumns(y) == expected;
}

} // namespace

// Each monitor shows a picture of its own size: the primary its own entry, the second (which
// the catalogue has no entry for) the 1024 x 768 layout scaled to 1280 x 1024. The picture
// is the primary's that becomes the wallpaper.
TEST_F(MultiMonitorRun, EveryMonitorShowsItsOwnPictureAndThePrimaryBecomesTheWallpaper) {
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "not a session of two monitors";
    writeStillDriftCatalogue("File.1920x1080=wall.bmp,back.bmp,0,0,sprite.bmp,100,200\r\n"
                             "File.1024x0768=wall.bmp,back.bmp,0,0,sprite.bmp,100,500\r\n");

    SaverProcess run(install.program(), install.quotedCommand("/s"));
    HWND window = run.waitForSaverWindow();
    ASSERT_NE(window, nullptr);
    RECT rect = {};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 3200) << "the window covers both monitors";

    // The primary: the sprite of 64 x 64 (ink 8..55) at 100, 200, as its entry says.
    EXPECT_TRUE(waitFor(
        [] {
            return inkIs(232, {{108, 155}});
        },
        15000))
        << "the primary's sprite is not where its entry puts it";
    // The second: 100, 500 of 1024 x 768 is 125, 666 of 1280 x 1024; the sprite is 80 x 85
    // there, its ink columns 10..69. The monitors' pictures reach the display apart.
    EXPECT_TRUE(waitFor(
        [] {
            return inkIs(710, {{1920 + 125 + 10, 1920 + 125 + 69}});
        },
        15000))
        << "the second monitor's sprite is not its own";
    // Below the second monitor's bottom the primary still shows its picture. (What lies
    // below the second monitor is on no display: the nested server shows no pixels there.)
    EXPECT_GE(backgroundColumn(readScreenRow(1050)[500]), 0);

    BmpPicture wallpaper;
    ASSERT_NO_FATAL_FAILURE(closeAndReadWallpaper(run, window, wallpaper));
    EXPECT_EQ(wallpaper.width, 1920);
    EXPECT_EQ(wallpaper.height, 1080);
    EXPECT_EQ(registryDwordOrMarker(kPreferenceKey, "lBuildWpRes"), (1080u << 16) | 1920u);
}

// Where the system spans one wallpaper over all monitors (Windows 8 on), the hand-off
// leaves each monitor's own last picture at its place in one file of the virtual screen's
// size, and each monitor resumes from where it stood.
TEST_F(MultiMonitorRun, EveryMonitorResumesAndLeavesItsOwnPictureInASpannedWallpaper) {
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "not a session of two monitors";
    const char* const app = "Software\\Wine\\AppDefaults\\OrvikSaver.scr";
    ScopedRegistryValues version{app, {"Version"}};
    setRegistryString(app, "Version", "win10");
    // Both monitors with entries of their own, so that their backgrounds are unscaled.
    writeStillDriftCatalogue("File.1920x1080=wall.bmp,back.bmp,0,0,sprite.bmp,100,200\r\n"
                             "File.1280x1024=wall.bmp,back.bmp,0,0,sprite.bmp,100,500\r\n");
    // As a spanned hand-off on this layout left them: the primary at column 100, the
    // second at 300.
    const DWORD primaryView = 100;
    const DWORD resolution = (1080u << 16) | 1920u;
    setRegistryValue(kPreferenceKey, "lBuildWpValue1", REG_DWORD, &primaryView, 4);
    setRegistryValue(kPreferenceKey, "lBuildWpRes", REG_DWORD, &resolution, 4);
    const std::int32_t second[7] = {1920, 0, 3200, 1024, 300, 0, 0};
    setRegistryValue(kPreferenceKey, "lBuildWpMonitors", REG_BINARY, second, sizeof second);

    SaverProcess run(install.program(), install.quotedCommand("/s"));
    HWND window = run.waitForSaverWindow();
    ASSERT_NE(window, nullptr);
    // The view of a monitor's part of a screen row, from column from to column to.
    auto viewAt = [](const std::vector<COLORREF>& row, int from, int to) {
        return viewColumnOfRow(std::vector<COLORREF>(row.begin() + from, row.begin() + to));
    };
    std::vector<COLORREF> shown;
    EXPECT_TRUE(waitFor(
        [&] {
            shown = readScreenRow(100);
            return shown.size() == 3200 && viewAt(shown, 0, 1920) == 100 &&
                   viewAt(shown, 1920, 3200) == 300;
        },
        15000))
        << "the monitors did not resume where they stood";

    shown = readScreenRow(100);
    BmpPicture wallpaper;
    ASSERT_NO_FATAL_FAILURE(closeAndReadWallpaper(run, window, wallpaper));
    ASSERT_EQ(wallpaper.width, 3200) << "not the virtual screen's width";
    ASSERT_EQ(wallpaper.height, 1080);
    // Each monitor's region as the screen showed it just before the key.
    EXPECT_TRUE(wallpaper.rows[100] == shown) << "the picture is not what the monitors showed";
    // Below the second monitor, no monitor: black.
    for (int x : {1920, 2500, 3199})
        EXPECT_EQ(wallpaper.rows[1050][x], RGB(0, 0, 0)) << x;
    EXPECT_GE(backgroundColumn(wallpaper.rows[1050][500]), 0);
    EXPECT_EQ(readRegistryText("Control Panel\\Desktop", "WallpaperStyle"), "22");
    EXPECT_EQ(readRegistryText("Control Panel\\Desktop", "TileWallpaper"), "0");
    // Where each stood, for the next run on this layout.
    EXPECT_EQ(registryDwordOrMarker(kPreferenceKey, "lBuildWpValue1"), 100u);
    std::int32_t stored[8] = {};
    HKEY key = nullptr;
    DWORD type = 0, size = sizeof stored;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kPreferenceKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(key, "lBuildWpMonitors", nullptr, &type,
                               reinterpret_cast<BYTE*>(stored), &size),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, DWORD{REG_BINARY});
    ASSERT_EQ(size, sizeof second);
    EXPECT_TRUE(std::equal(second, second + 7, stored));
}
