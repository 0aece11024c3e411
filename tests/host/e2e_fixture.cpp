#include "tests/host/e2e_fixture.h"
#include "tests/host/test_pictures.h"
#include "tests/host/user_input.h"
#include "tests/support/wait_for.h"

void SaverEndToEndTest::SetUp() {
    install.writeStandardCatalogue();
    ownWallpaper = ownWallpaperFile();
    DeleteFileA(ownWallpaper.c_str());
    // The mouse rests in the middle of the screen, well away from every edge.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
    waitUntilNoPictureIsShown();
}

void SaverEndToEndTest::TearDown() {
    DeleteFileA(ownWallpaper.c_str());
}

int SaverEndToEndTest::currentView() {
    return viewColumnOfRow(readScreenRow(10));
}

int SaverEndToEndTest::waitForSettledView(const SaverProcess& run, bool* fadeSeen, DWORD boundMs) {
    int view = -1;
    waitFor(
        [&] {
            std::vector<COLORREF> row = readScreenRow(10);
            view = viewColumnOfRow(row);
            // On the way from the old screen (black here) to the picture (blue 0x80).
            if (fadeSeen && view < 0 && !row.empty() && GetBValue(row[0]) > 0 &&
                GetBValue(row[0]) < 0x80)
                *fadeSeen = true;
            return view >= 0 || !run.running();
        },
        boundMs);
    return view;
}

void SaverEndToEndTest::waitUntilNoPictureIsShown() {
    waitFor([this] { return currentView() < 0; }, 20000);
}

bool SaverEndToEndTest::waitUntilForeground(HWND window, DWORD boundMs) {
    return waitFor([window] { return GetForegroundWindow() == window; }, boundMs);
}

void SaverEndToEndTest::expectEndsWithoutAWindow(SaverProcess& run, DWORD exitCode) {
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(waitFor(
        [&] {
            run.watchWindows();
            return !run.running();
        },
        30000))
        << "the run did not end";
    EXPECT_EQ(run.exitCode(), exitCode);
    EXPECT_TRUE(run.windowsSeen().empty());
}

void SaverEndToEndTest::closeAndReadWallpaper(SaverProcess& run, HWND window,
                                              BmpPicture& wallpaper) {
    ASSERT_TRUE(waitUntilForeground(window));
    pressKeys({VK_SPACE});
    ASSERT_TRUE(run.waitForExit());
    EXPECT_EQ(run.exitCode(), 0u);
    ASSERT_TRUE(readBmp(ownWallpaper, wallpaper)) << "no whole wallpaper file";
}

void SaverEndToEndTest::writeStillDriftCatalogue(const std::string& fileKeys) {
    writeBackgroundBmp(install.file("back.bmp"));
    writeSpriteBmp(install.file("sprite.bmp"));
    install.writeFile("OrvikSaver.ini", "[General]\r\nResourcePath=" + install.folder() +
                                            "\r\n[Type00]\r\nName=Still\r\nMoveType=1\r\n" +
                                            fileKeys);
    const DWORD always = 2; // every close hands over
    setRegistryValue(kPreferenceKey, "bwpBuildWp", REG_DWORD, &always, sizeof always);
}
