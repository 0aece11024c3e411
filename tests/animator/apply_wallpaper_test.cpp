#include "animator/active_desktop.h"
#include "animator/apply_wallpaper.h"
#include "tests/animator/test_scenery.h"
#include "tests/support/bmp_file.h"
#include "tests/support/desktop_guard.h"
#include "tests/support/registry_guard.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

TEST(ApplyWallpaper, SetsTheFileAndTheStyleValuesOfEachStyle) {
    DesktopGuard desktop;
    TempFolder folder;
    const std::string path = folder.file("picture.bmp");
    writeBmp(path, 16, 8, [](int x, int) { return colorRef(x < 8 ? 0x204080u : 0xC08000u); });

    struct Case {
        DWORD style;
        const char* tile;
        const char* wallpaperStyle;
    };
    for (const Case& c : {Case{WPSTYLE_CENTER, "0", "0"}, Case{WPSTYLE_TILE, "1", "0"},
                          Case{WPSTYLE_STRETCH, "0", "2"}, Case{7, "0", "2"}}) {
        SCOPED_TRACE(testing::Message() << "style " << c.style);
        setRegistryString(kDesktopKey, "TileWallpaper", "x");
        setRegistryString(kDesktopKey, "WallpaperStyle", "x");
        setRegistryString(kDesktopKey, "Wallpaper", "C:\\elsewhere.bmp");
        applyWallpaper(path.c_str(), c.style);
        EXPECT_EQ(readRegistryText(kDesktopKey, "TileWallpaper"), c.tile);
        EXPECT_EQ(readRegistryText(kDesktopKey, "WallpaperStyle"), c.wallpaperStyle);
        EXPECT_STRCASEEQ(readRegistryText(kDesktopKey, "Wallpaper").c_str(), path.c_str());
        EXPECT_STRCASEEQ(currentDesktopWallpaper().c_str(), path.c_str());
    }
}
