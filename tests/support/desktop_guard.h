#pragma once
#include "tests/support/registry_guard.h"

#include <string>

// The per-user key of the desktop's settings.
inline constexpr char kDesktopKey[] = "Control Panel\\desktop";

// Keeps the desktop's wallpaper settings as they were: the registry values, and the
// platform's own wallpaper setting.
class DesktopGuard {
  public:
    DesktopGuard();
    ~DesktopGuard();
    DesktopGuard(const DesktopGuard&) = delete;
    DesktopGuard& operator=(const DesktopGuard&) = delete;

  private:
    std::string wallpaper_;
    ScopedRegistryValues values_{kDesktopKey,
                                 {"Wallpaper", "TileWallpaper", "WallpaperStyle",
                                  "OriginalWallpaper", "ConvertedWallpaper",
                                  "TranscodedImageCache"}};
};

// The platform's wallpaper setting (SPI_GETDESKWALLPAPER).
std::string currentDesktopWallpaper();
