#include "animator/active_desktop.h"
#include "animator/apply_wallpaper.h"
#include "tests/animator/test_scenery.h"
#include "tests/support/bmp_file.h"
#include "tests/support/desktop_guard.h"
#include "tests/support/registry_guard.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace {

// The shell's Active Desktop as Windows gives it (every call succeeds) or as it refuses at
// one step; it records what it was given.
class ActiveDesktopDouble : public IActiveDesktop {
  public:
    int refuseAt = 0; // 0 none, 1 SetWallpaper, 2 SetWallpaperOptions, 3 ApplyChanges
    std::wstring wallpaper;
    DWORD style = 0xFFFF;
    int applied = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE ApplyChanges(DWORD) override {
        if (refuseAt == 3)
            return E_FAIL;
        ++applied;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetWallpaper(LPWSTR, UINT, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetWallpaper(LPCWSTR path, DWORD) override {
        if (refuseAt == 1)
            return E_FAIL;
        wallpaper = path;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetWallpaperOptions(ActiveDesktopWallpaperOptions*, DWORD) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetWallpaperOptions(const ActiveDesktopWallpaperOptions* options,
                                                  DWORD) override {
        if (refuseAt == 2)
            return E_FAIL;
        style = options->style;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPattern(LPWSTR, UINT, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPattern(LPCWSTR, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDesktopItemOptions(void*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDesktopItemOptions(const void*, DWORD) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE AddDesktopItem(const void*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddDesktopItemWithUI(HWND, void*, DWORD) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ModifyDesktopItem(const void*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveDesktopItem(const void*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDesktopItemCount(int*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDesktopItem(int, void*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDesktopItemByID(ULONG_PTR, void*, DWORD) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GenerateDesktopItemHtml(LPCWSTR, void*, DWORD) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE AddUrl(HWND, LPCWSTR, void*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDesktopItemBySource(LPCWSTR, void*, DWORD) override {
        return E_NOTIMPL;
    }
};

int systemParametersCalls = 0;
BOOL WINAPI refusingSystemParameters(UINT, UINT, PVOID, UINT) {
    ++systemParametersCalls;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
}
BOOL WINAPI countedSystemParameters(UINT action, UINT number, PVOID path, UINT flags) {
    ++systemParametersCalls;
    return SystemParametersInfoA(action, number, path, flags);
}

} // namespace

// The picture is applied once, by the first way that takes it; what the desktop's values
// say changes only when a way took it.
TEST(ApplyWallpaper, AppliesOnceByTheFirstWayThatTakesItAndChangesNothingWhenNoneDoes) {
    DesktopGuard desktop;
    TempFolder folder;
    const std::string path = folder.file("picture.bmp");
    writeBmp(path, 16, 8, [](int x, int) { return colorRef(x < 8 ? 0x204080u : 0xC08000u); });
    struct Case {
        const char* what;
        bool activeDesktop;
        int refuseAt;
        bool systemRefuses;
        bool applied;
        bool throughActiveDesktop;
        bool throughSystem;
    } cases[] = {
        {"the Active Desktop takes it", true, 0, false, true, true, false},
        {"it refuses the picture", true, 1, false, true, false, true},
        {"it refuses the style", true, 2, false, true, false, true},
        {"it cannot apply", true, 3, false, true, false, true},
        {"no Active Desktop", false, 0, false, true, false, true},
        {"nothing takes it", true, 1, true, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setRegistryString(kDesktopKey, "TileWallpaper", "1");
        deleteRegistryValue(kDesktopKey, "WallpaperStyle");
        setRegistryString(kDesktopKey, "Wallpaper", "C:\\elsewhere.bmp");
        ActiveDesktopDouble shell;
        shell.refuseAt = c.refuseAt;
        WallpaperSetters setters;
        setters.activeDesktop = c.activeDesktop ? &shell : nullptr;
        setters.systemParametersInfo =
            c.systemRefuses ? refusingSystemParameters : countedSystemParameters;
        systemParametersCalls = 0;
        EXPECT_EQ(applyWallpaper(path.c_str(), WPSTYLE_STRETCH, setters), c.applied);
        EXPECT_EQ(shell.applied, c.throughActiveDesktop ? 1 : 0);
        if (c.throughActiveDesktop) {
            EXPECT_EQ(shell.wallpaper, std::wstring(path.begin(), path.end()));
            EXPECT_EQ(shell.style, WPSTYLE_STRETCH);
        }
        EXPECT_EQ(systemParametersCalls, c.throughSystem ? 1 : 0);
        const bool bySystem = c.applied && c.throughSystem;
        EXPECT_EQ(readRegistryText(kDesktopKey, "TileWallpaper"), bySystem ? "0" : "1");
        EXPECT_EQ(readRegistryText(kDesktopKey, "WallpaperStyle"), bySystem ? "2" : "")
            << "an absent value stays absent";
        if (!bySystem) {
            EXPECT_EQ(readRegistryText(kDesktopKey, "Wallpaper"), "C:\\elsewhere.bmp");
        }
    }

    // Through the platform's setting, each style's two values, and the wallpaper itself.
    struct Style {
        DWORD style;
        const char* tile;
        const char* wallpaperStyle;
    };
    for (const Style& c : {Style{WPSTYLE_CENTER, "0", "0"}, Style{WPSTYLE_TILE, "1", "0"},
                           Style{WPSTYLE_STRETCH, "0", "2"}, Style{7, "0", "2"}}) {
        SCOPED_TRACE(testing::Message() << "style " << c.style);
        setRegistryString(kDesktopKey, "TileWallpaper", "x");
        setRegistryString(kDesktopKey, "WallpaperStyle", "x");
        setRegistryString(kDesktopKey, "Wallpaper", "C:\\elsewhere.bmp");
        EXPECT_TRUE(applyWallpaper(path.c_str(), c.style));
        EXPECT_EQ(readRegistryText(kDesktopKey, "TileWallpaper"), c.tile);
        EXPECT_EQ(readRegistryText(kDesktopKey, "WallpaperStyle"), c.wallpaperStyle);
        EXPECT_STRCASEEQ(readRegistryText(kDesktopKey, "Wallpaper").c_str(), path.c_str());
        EXPECT_STRCASEEQ(currentDesktopWallpaper().c_str(), path.c_str());
    }
}
