#include "animator/apply_wallpaper.h"
#include "animator/active_desktop.h"
#include "platform/com_ref.h"
#include "platform/kernel_handles.h"
#include "platform/registry_key.h"

#include <cstring>

namespace {

constexpr int kWidePathCapacity = 780;

// True only when the object took the picture and its style and applied them.
bool applyThroughActiveDesktop(IActiveDesktop* desktop, const char* path, DWORD style) {
    if (!desktop)
        return false;
    wchar_t widePath[kWidePathCapacity];
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, kWidePathCapacity) == 0)
        return false;
    if (FAILED(desktop->SetWallpaper(widePath, 0)))
        return false;
    const ActiveDesktopWallpaperOptions options{sizeof(ActiveDesktopWallpaperOptions), style};
    if (FAILED(desktop->SetWallpaperOptions(&options, 0)))
        return false;
    return SUCCEEDED(desktop->ApplyChanges(AD_APPLY_SAVE | AD_APPLY_HTMLGEN | AD_APPLY_REFRESH));
}

void setStringValue(HKEY key, const char* name, const char* text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>(std::strlen(text) + 1));
}

// A text value as it was: absent, or its bytes.
struct SavedValue {
    bool present = false;
    DWORD type = REG_NONE;
    BYTE data[64] = {};
    DWORD size = 0;
};

SavedValue saveValue(HKEY key, const char* name) {
    SavedValue saved;
    saved.size = sizeof saved.data;
    saved.present =
        RegQueryValueExA(key, name, nullptr, &saved.type, saved.data, &saved.size) == ERROR_SUCCESS;
    return saved;
}

void restoreValue(HKEY key, const char* name, const SavedValue& saved) {
    if (saved.present)
        RegSetValueExA(key, name, 0, saved.type, saved.data, saved.size);
    else
        RegDeleteValueA(key, name);
}

// The platform's wallpaper setting takes the style from the desktop's values, so they are
// written first, and put back when it refuses the picture.
bool applyThroughSystemParameters(const char* path, DWORD style,
                                  BOOL(WINAPI* systemParametersInfo)(UINT, UINT, PVOID, UINT)) {
    RegKey desktop;
    desktop.open(HKEY_CURRENT_USER, "Control Panel\\desktop", KEY_QUERY_VALUE | KEY_SET_VALUE);
    SavedValue tile;
    SavedValue wallpaperStyle;
    if (desktop) {
        tile = saveValue(desktop.get(), "TileWallpaper");
        wallpaperStyle = saveValue(desktop.get(), "WallpaperStyle");
        setStringValue(desktop.get(), "TileWallpaper", style == WPSTYLE_TILE ? "1" : "0");
        setStringValue(desktop.get(), "WallpaperStyle",
                       style == WPSTYLE_SPAN                              ? "22"
                       : style == WPSTYLE_CENTER || style == WPSTYLE_TILE ? "0"
                                                                          : "2");
    }
    if (systemParametersInfo(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(path),
                             SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE))
        return true;
    if (desktop) {
        restoreValue(desktop.get(), "TileWallpaper", tile);
        restoreValue(desktop.get(), "WallpaperStyle", wallpaperStyle);
    }
    return false;
}

} // namespace

bool applyWallpaper(const char* path, DWORD style, const WallpaperSetters& setters) {
    // Once: on Windows 8 and later each way transcodes the whole picture again.
    return applyThroughActiveDesktop(setters.activeDesktop, path, style) ||
           applyThroughSystemParameters(path, style, setters.systemParametersInfo);
}

bool applyWallpaper(const char* path, DWORD style) {
    ComInitialization com;
    ComRef<IActiveDesktop> desktop; // released before COM goes
    if (FAILED(CoCreateInstance(CLSID_ActiveDesktop, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IActiveDesktop, desktop.receiveVoid())))
        desktop.reset();
    WallpaperSetters setters;
    setters.activeDesktop = desktop.get();
    return applyWallpaper(path, style, setters);
}
