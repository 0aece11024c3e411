#include "animator/apply_wallpaper.h"
#include "animator/active_desktop.h"
#include "platform/com_ref.h"
#include "platform/kernel_handles.h"
#include "platform/registry_key.h"

#include <cstring>

namespace {

constexpr int kWidePathCapacity = 780;

void applyThroughActiveDesktop(const char* path, DWORD style) {
    ComInitialization com;
    ComRef<IActiveDesktop> desktop; // released before COM goes
    if (FAILED(CoCreateInstance(CLSID_ActiveDesktop, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IActiveDesktop, desktop.receiveVoid())) ||
        !desktop)
        return;
    wchar_t widePath[kWidePathCapacity];
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, kWidePathCapacity) == 0)
        return;
    if (FAILED(desktop->SetWallpaper(widePath, 0)))
        return;
    const ActiveDesktopWallpaperOptions options{sizeof(ActiveDesktopWallpaperOptions), style};
    if (FAILED(desktop->SetWallpaperOptions(&options, 0)))
        return;
    desktop->ApplyChanges(AD_APPLY_SAVE | AD_APPLY_HTMLGEN | AD_APPLY_REFRESH);
}

void setStringValue(HKEY key, const char* name, const char* text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>(std::strlen(text) + 1));
}

void writeStyleValues(DWORD style) {
    RegKey desktop;
    if (!desktop.open(HKEY_CURRENT_USER, "Control Panel\\desktop", KEY_SET_VALUE))
        return;
    setStringValue(desktop.get(), "TileWallpaper", style == WPSTYLE_TILE ? "1" : "0");
    setStringValue(desktop.get(), "WallpaperStyle",
                   style == WPSTYLE_SPAN                              ? "22"
                   : style == WPSTYLE_CENTER || style == WPSTYLE_TILE ? "0"
                                                                      : "2");
}

} // namespace

void applyWallpaper(const char* path, DWORD style) {
    applyThroughActiveDesktop(path, style);
    // Whatever the Active Desktop did: where it is missing (or failed) these still apply.
    writeStyleValues(style);
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(path),
                          SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
}
