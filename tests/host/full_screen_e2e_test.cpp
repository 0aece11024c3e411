#include "platform/gdi_handles.h"
#include "platform/loaded_module.h"
#include "tests/host/e2e_fixture.h"
#include "tests/host/notice_picture.h"
#include "tests/host/test_pictures.h"
#include "tests/host/user_input.h"
#include "tests/support/bmp_file.h"
#include "tests/support/captured_picture.h"
#include "tests/support/file_access.h"
#include "tests/support/pixels.h"
#include "tests/support/registry_guard.h"
#include "tests/support/wait_for.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using FullScreenRun = SaverEndToEndTest;

RECT screenRect() {
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

bool sameTextIgnoringCase(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

DWORD preference(const char* name) {
    return registryDwordOrMarker(kPreferenceKey, name);
}

} // namespace

TEST_F(FullScreenRun, EverySpellingOfTheSwitchShowsATopMostSaverOverTheScreen) {
    SaverInstall spaced("with blank");
    spaced.writeStandardCatalogue();
    ASSERT_EQ(install.program().find(' '), std::string::npos);
    struct Start {
        const SaverInstall& where;
        std::string commandLine;
    } starts[] = {
        {install, install.quotedCommand("/s")},
        {install, install.program() + " -s"},
        {spaced, "\"" + spaced.program() + "\"  s"},
        {install, install.quotedCommand("//--s")},
    };
    for (const Start& start : starts) {
        SCOPED_TRACE(start.commandLine);
        SaverProcess run(start.where.program(), start.commandLine);
        ASSERT_TRUE(run.started());
        HWND window = run.waitForSaverWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(windowText(window), "Screen Saver");
        EXPECT_EQ(GetParent(window), nullptr);
        EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
        EXPECT_TRUE(IsWindowVisible(window));
        RECT rect = {};
        GetWindowRect(window, &rect);
        RECT screen = screenRect();
        EXPECT_TRUE(EqualRect(&rect, &screen));
        ASSERT_TRUE(waitUntilForeground(window));
        pressKeys({'A'});
        ASSERT_TRUE(run.waitForExit());
        EXPECT_EQ(run.exitCode(), 0u);
    }
}

TEST_F(FullScreenRun, PictureFadesInMovesAndIsHandedToTheDesktopForTheNextRunToResume) {
    // The catalogue's own wallpaper is on the desktop: the conditional policy hands over.
    setRegistryString(kDesktopKey, "Wallpaper", install.catalogueWallpaper());
    deleteRegistryValue(kDesktopKey, "OriginalWallpaper");
    deleteRegistryValue(kDesktopKey, "ConvertedWallpaper");
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);

    DWORD stored = 0;
    {
        SaverProcess run(install.program(), install.quotedCommand("/s"));
        ASSERT_NE(run.waitForSaverWindow(), nullptr);
        bool fadeSeen = false;
        int first = waitForSettledView(run, &fadeSeen);
        ASSERT_GE(first, 0) << "the picture never settled on the screen";
        EXPECT_TRUE(fadeSeen) << "the picture appeared without a cross-fade";
        int later = first;
        ASSERT_TRUE(waitFor(
            [&] {
                int view = currentView();
                if (view >= 0)
                    later = view;
                return later >= first + 60;
            },
            30000))
            << "the picture does not drift";

        pressKeys({VK_SPACE});
        ASSERT_TRUE(run.waitForExit());
        EXPECT_EQ(run.exitCode(), 0u);

        BmpPicture picture;
        ASSERT_TRUE(readBmp(ownWallpaper, picture)) << ownWallpaper;
        EXPECT_EQ(picture.width, width);
        EXPECT_EQ(picture.height, height);
        EXPECT_EQ(picture.bitsPerPixel, 24);
        EXPECT_TRUE(sameTextIgnoringCase(readRegistryText(kDesktopKey, "Wallpaper"), ownWallpaper))
            << readRegistryText(kDesktopKey, "Wallpaper");
        EXPECT_EQ(readRegistryText(kDesktopKey, "WallpaperStyle"), "2");
        EXPECT_EQ(readRegistryText(kDesktopKey, "TileWallpaper"), "0");

        EXPECT_EQ(preference("lBuildWpRes"),
                  (static_cast<DWORD>(height) << 16) | static_cast<DWORD>(width));
        stored = preference("lBuildWpValue1");
        EXPECT_GE(stored, static_cast<DWORD>(later));
        EXPECT_LT(stored, static_cast<DWORD>(kBackgroundWidth));
        EXPECT_EQ(preference("lBuildWpValue2"), 0u);
        ASSERT_EQ(picture.rows.size(), static_cast<std::size_t>(height));
        EXPECT_EQ(viewColumnOfRow(picture.rows[10]), static_cast<int>(stored))
            << "the wallpaper is not the frame whose position was stored";
    }

    waitUntilNoPictureIsShown();
    SaverProcess next(install.program(), install.quotedCommand("/s"));
    ASSERT_NE(next.waitForSaverWindow(), nullptr);
    int resumed = waitForSettledView(next);
    ASSERT_GE(resumed, 0);
    EXPECT_GE(resumed, static_cast<int>(stored)) << "the next run did not resume the position";
    clickLeftButton();
    ASSERT_TRUE(next.waitForExit());
    EXPECT_EQ(next.exitCode(), 0u);
}

// A background that takes seconds to load, as a large one does: a key pressed as soon as
// the window shows ends the run at once with 0, and the desktop keeps what it had. Wine's
// own end of a process with a window takes about 2 s here (the X display without a window
// manager), so the close is measured against a run whose picture is shown.
TEST_F(FullScreenRun, AKeyWhileThePicturesLoadEndsTheRunAtOnce) {
    writeStillDriftCatalogue("File.1024x0768=wall.bmp,back.bmp,0,0,sprite.bmp,10,10\r\n");
    writeBmp(install.file("large.bmp"), 7200, 4800,
             [](int x, int y) { return RGB(x % 251, y % 241, (x + y) % 239); });
    DWORD closeOfAShownRun = 0;
    for (bool loading : {false, true}) {
        SCOPED_TRACE(loading ? "while loading" : "once shown");
        if (loading)
            writeStillDriftCatalogue("File.1024x0768=wall.bmp,large.bmp,0,0,sprite.bmp,10,10\r\n");
        DeleteFileA(ownWallpaper.c_str());
        SaverProcess run(install.program(), install.quotedCommand("/s"));
        HWND window = run.waitForSaverWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(waitUntilForeground(window));
        if (!loading) {
            ASSERT_TRUE(
                waitFor([] { return backgroundColumn(readScreenRow(400)[600]) >= 0; }, 15000));
        }
        const DWORD pressed = GetTickCount();
        pressKeys({VK_SPACE});
        ASSERT_TRUE(run.waitForExit(15000));
        const DWORD took = GetTickCount() - pressed;
        EXPECT_EQ(run.exitCode(), 0u);
        if (!loading) {
            closeOfAShownRun = took;
            EXPECT_TRUE(fileExists(ownWallpaper));
            continue;
        }
        EXPECT_FALSE(fileExists(ownWallpaper)) << "the key came after the load, or a hand-off ran";
        EXPECT_LT(took, closeOfAShownRun + 500) << "the run waited for its pictures";
    }
}

TEST_F(FullScreenRun, MouseMustMoveMoreThanFourPixelsToClose) {
    SaverProcess run(install.program(), install.quotedCommand("/s"));
    HWND window = run.waitForSaverWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_GE(waitForSettledView(run), 0);
    ASSERT_TRUE(waitUntilForeground(window));

    // A close ends the process only seconds later (the window lingers), but it stops the
    // picture at once: a picture that goes on moving is a saver that goes on running.
    moveMouseBy(3, 1); // 4 pixels from where the saver started
    const int before = currentView();
    EXPECT_TRUE(waitFor([&] { return currentView() >= before + 24; }, 15000))
        << "a move of 3 right and 1 down closed the saver";
    EXPECT_TRUE(run.running());

    moveMouseBy(0, 1); // 5 pixels
    ASSERT_TRUE(run.waitForExit());
    EXPECT_EQ(run.exitCode(), 0u);
}

TEST_F(FullScreenRun, SecondStartBringsTheRunningSaverForwardAndEnds) {
    SaverProcess first(install.program(), install.quotedCommand("/s"));
    HWND window = first.waitForSaverWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(waitUntilForeground(window));

    SaverProcess second(install.program(), install.quotedCommand("/s"));
    ASSERT_NO_FATAL_FAILURE(expectEndsWithoutAWindow(second, 0));
    EXPECT_EQ(allSaverWindows(), std::vector<HWND>{window});
    EXPECT_TRUE(first.running());

    pressKeys({'Q'});
    ASSERT_TRUE(first.waitForExit());
    EXPECT_EQ(first.exitCode(), 0u);
}

TEST_F(FullScreenRun, PasswordIsNeverAskedOutsideTheWindows9xFamily) {
    ScopedRegistryValues password{"Control Panel\\Desktop", {"ScreenSaveUsePassword"}};
    DWORD on = 1;
    setRegistryValue("Control Panel\\Desktop", "ScreenSaveUsePassword", REG_DWORD, &on, sizeof on);
    ASSERT_TRUE(install.addBuiltFile(ORVIK_PASSWORD_DOUBLE_FILE, "PASSWORD.CPL"));
    install.writeFile("verifier-script.txt", "refuse\n");

    SaverProcess run(install.program(), install.quotedCommand("/s"));
    HWND window = run.waitForSaverWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(waitUntilForeground(window));
    pressKeys({'A'});
    ASSERT_TRUE(run.waitForExit());
    EXPECT_EQ(run.exitCode(), 0u);
    EXPECT_TRUE(install.readLines("verifier-calls.txt").empty());
}

// A type whose sprite is missing cannot be shown: the notice asking to reinstall is, and it
// comes back whenever the window loses its content, never leaving a black screen.
TEST_F(FullScreenRun, ABrokenTypeShowsTheNoticeAndShowsItAgainAfterARepaint) {
    install.writeFile("OrvikSaver.ini",
                      "[General]\r\nResourcePath=" + install.folder() +
                          "\r\n[Type00]\r\nName=Broken\r\nMoveType=1\r\n"
                          "File.1024x0768=wall.bmp,back.bmp,2,0,gone.bmp,0,0\r\n");
    const RECT screen = screenRect();
    const std::vector<int> heights = {screen.bottom / 4, screen.bottom / 2, screen.bottom * 3 / 4};
    const auto notice = noticeRows(install.program(), heights);
    ASSERT_EQ(notice.size(), heights.size()) << "no notice picture in the program";

    SaverProcess run(install.program(), install.quotedCommand("/s"));
    HWND window = run.waitForSaverWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(waitFor([&] { return screenShows(notice, heights); }, 10000))
        << "the notice did not show";

    // Later the window loses its content: resized (from outside, as a change of the
    // display would), its surface is made anew and it asks for a repaint.
    idleFor(2500);
    SetWindowPos(window, nullptr, 0, 0, screen.right / 2, screen.bottom / 2,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(window, nullptr, 0, 0, screen.right, screen.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(waitFor([&] { return screenShows(notice, heights); }, 10000))
        << "the notice did not come back";

    ASSERT_TRUE(waitUntilForeground(window));
    pressKeys({VK_SPACE});
    ASSERT_TRUE(run.waitForExit());
    EXPECT_EQ(run.exitCode(), 0u);
}

namespace {

// A system library that is no KnownDLL, planted beside the saver (in a folder a user can
// write to). (version.dll, which the settings dialog loads, cannot be tried so: Wine's own
// user32 imports it, and Wine then hands every caller the planted copy. That it is loaded
// from the system folder like these, never imported, the import table's check shows.)
struct PlantedLibrary {
    const char* name;
    const char* builtFile;
};

const PlantedLibrary kPlantedLibraries[] = {
    {"powrprof", ORVIK_POWRPROF_DOUBLE_FILE},
    {"msimg32", ORVIK_MSIMG32_DOUBLE_FILE},
};

class PlantedLibraryRun : public SaverEndToEndTest,
                          public testing::WithParamInterface<PlantedLibrary> {};

} // namespace

// Never loaded, even when native libraries are preferred, as Windows prefers the
// program's folder for a library it imports.
TEST_P(PlantedLibraryRun, IsNeverLoaded) {
    const PlantedLibrary& library = GetParam();
    const char* const overrides = "Software\\Wine\\AppDefaults\\OrvikSaver.scr\\DllOverrides";
    ScopedRegistryValues kept{overrides, {library.name}};
    setRegistryString(overrides, library.name, "native");
    const std::string file = std::string(library.name) + ".dll";
    ASSERT_TRUE(install.addBuiltFile(library.builtFile, file.c_str()));
    SaverProcess run(install.program(), install.quotedCommand("/s"));
    HWND window = run.waitForSaverWindow();
    ASSERT_NE(window, nullptr) << "no saver window; exit code " << run.exitCode();
    // The main loop's first frame reads the power policy and blends the sprite.
    ASSERT_GE(waitForSettledView(run), 0);
    idleFor(1000);
    ASSERT_TRUE(waitUntilForeground(window));
    pressKeys({VK_SPACE});
    ASSERT_TRUE(run.waitForExit());
    EXPECT_EQ(run.exitCode(), 0u);
    EXPECT_TRUE(install.readLines(std::string(library.name) + "-loaded.txt").empty())
        << "the " << file << " beside the saver was loaded";
}

INSTANTIATE_TEST_SUITE_P(SystemLibraries, PlantedLibraryRun, testing::ValuesIn(kPlantedLibraries),
                         [](const testing::TestParamInfo<PlantedLibrary>& info) {
                             return std::string(info.param.name);
                         });
