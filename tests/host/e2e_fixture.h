#pragma once
#include "tests/host/desktop_state.h"
#include "tests/host/saver_install.h"
#include "tests/host/saver_process.h"
#include "tests/support/bmp_file.h"
#include "tests/support/desktop_guard.h"
#include "tests/support/registry_guard.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <string>

// Each end-to-end test installs its own copy of the saver and leaves the user's
// preferences, desktop settings and the saver's wallpaper file as it found them.
class SaverEndToEndTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The column of the background that the screen shows at its left edge once a run's
    // picture has settled (the fade is over), or -1 when none settles within the bound.
    // fadeSeen tells whether a blend of the old screen and the picture was seen first.
    int waitForSettledView(const SaverProcess& run, bool* fadeSeen = nullptr,
                           DWORD boundMs = 30000);
    // The view column shown now, or -1.
    int currentView();
    // A window of a finished run can stay on the display for a while; a new run's
    // fade would start from it.
    void waitUntilNoPictureIsShown();
    bool waitUntilForeground(HWND window, DWORD boundMs = 15000);
    // Waits for a run to end, watching for its windows meanwhile, and checks that it ended
    // with exitCode having shown none. Fatal failures: wrap in ASSERT_NO_FATAL_FAILURE.
    void expectEndsWithoutAWindow(SaverProcess& run, DWORD exitCode);
    // Closes a full-screen run with a key, checks that it ended with 0, and reads the
    // wallpaper it left. Fatal failures: wrap in ASSERT_NO_FATAL_FAILURE.
    void closeAndReadWallpaper(SaverProcess& run, HWND window, BmpPicture& wallpaper);
    // A catalogue of one still drift (so that every monitor stays where it starts) over the
    // test background, with these file keys ("File.WxH=...\r\n" lines).
    void writeStillDriftCatalogue(const std::string& fileKeys);

    ScopedRegistryKeyRemoval preferences{"Software\\Tolvane"};
    DesktopGuard desktop;
    SaverInstall install;
    std::string ownWallpaper;
};
