// Runs only in a session of two monitors (tests/host/multi_monitor_session.sh): 1920 x 1080,
// the primary, and 1280 x 1024 to its right.
#include "tests/host/e2e_fixture.h"
#include "tests/host/test_pictures.h"
#include "tests/host/user_input.h"
#include "tests/support/bmp_file.h"
#include "tests/support/registry_guard.h"
#include "tests/support/wait_for.h"

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
    writeBackgroundBmp(install.file("back.bmp"));
    writeSpriteBmp(install.file("sprite.bmp"));
    install.writeFile("OrvikSaver.ini",
                      "[General]\r\nResourcePath=" + install.folder() +
                          "\r\n[Type00]\r\nName=Still\r\nMoveType=1\r\n"
                          "File.1920x1080=wall.bmp,back.bmp,0,0,sprite.bmp,100,200\r\n"
                          "File.1024x0768=wall.bmp,back.bmp,0,0,sprite.bmp,100,500\r\n");
    DWORD always = 2;
    setRegistryValue(kPreferenceKey, "bwpBuildWp", REG_DWORD, &always, sizeof always);

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

    ASSERT_TRUE(waitUntilForeground(window));
    pressKeys({VK_SPACE});
    ASSERT_TRUE(run.waitForExit());
    EXPECT_EQ(run.exitCode(), 0u);
    BmpPicture wallpaper;
    ASSERT_TRUE(readBmp(ownWallpaper, wallpaper));
    EXPECT_EQ(wallpaper.width, 1920);
    EXPECT_EQ(wallpaper.height, 1080);
    EXPECT_EQ(registryDwordOrMarker(kPreferenceKey, "lBuildWpRes"), (1080u << 16) | 1920u);
}
