#include "settings/wallpaper_decision.h"
#include "platform/registry_key.h"
#include "platform/windows_version.h"
#include "resources/resource_ids.h"
#include "settings/catalogue.h"
#include "settings/catalogue_path.h"
#include "settings/field_tokenizer.h"
#include "settings/preferences.h"
#include "settings/text_buffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <shlobj.h>

namespace {

constexpr std::size_t kStringResourceCapacity = 260;
constexpr std::size_t kKeyListCapacity = 3000;

// A text value of an open key; anything but readable text reads as the empty text.
void readTextValue(HKEY key, const char* name, char* text, std::size_t capacity) {
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>(capacity - 1);
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        text[0] = '\0';
        return;
    }
    // Stored text need not end with a NUL.
    text[size < capacity ? size : capacity - 1] = '\0';
}

bool appendStringResource(char* path, std::size_t capacity, UINT id) {
    char text[kStringResourceCapacity];
    if (LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text) <= 0)
        return false;
    return appendText(path, capacity, text);
}

bool isFileKeyName(const char* name) {
    return _strnicmp(name, "FILE.", 5) == 0;
}

// Windows 7 names its own transcoded copy of a picture chosen in Personalization as the
// wallpaper ("TranscodedWallpaper.jpg"; later systems drop the extension).
bool isTranscodedCopy(const char* path) {
    const char* name = std::strrchr(path, '\\');
    name = name ? name + 1 : path;
    return lstrcmpiA(name, "TranscodedWallpaper.jpg") == 0 ||
           lstrcmpiA(name, "TranscodedWallpaper") == 0;
}

enum class CacheRead { Path, Absent, Unreadable };

// The picture behind the transcoded copy as "TranscodedImageCache" keeps it: a binary value
// whose UTF-16 path starts at byte 24 and ends with a NUL inside the value. Unreadable when
// it is too short, unterminated or not representable in the ANSI code page.
CacheRead readTranscodedImageCache(HKEY desktop, char* path, std::size_t capacity) {
    constexpr DWORD kPathOffset = 24;
    BYTE data[kPathOffset + kPathCapacity * sizeof(wchar_t)];
    DWORD type = REG_NONE;
    DWORD size = sizeof data;
    const LONG status =
        RegQueryValueExA(desktop, "TranscodedImageCache", nullptr, &type, data, &size);
    if (status == ERROR_FILE_NOT_FOUND)
        return CacheRead::Absent;
    if (status != ERROR_SUCCESS || type != REG_BINARY || size <= kPathOffset)
        return CacheRead::Unreadable;
    const std::size_t units = (size - kPathOffset) / sizeof(wchar_t);
    wchar_t wide[kPathCapacity];
    std::memcpy(wide, data + kPathOffset, units * sizeof(wchar_t));
    const wchar_t* end = std::find(wide, wide + units, L'\0');
    if (end == wide + units || end == wide)
        return CacheRead::Unreadable;
    BOOL lossy = FALSE;
    const int length =
        WideCharToMultiByte(CP_ACP, 0, wide, -1, path, static_cast<int>(capacity), nullptr, &lossy);
    return length > 0 && !lossy ? CacheRead::Path : CacheRead::Unreadable;
}

// The same path as the shell keeps it for Internet Explorer's desktop ("WallpaperSource").
bool readWallpaperSource(char* path, std::size_t capacity) {
    RegKey key;
    if (!key.open(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Desktop\\General",
                  KEY_QUERY_VALUE))
        return false;
    readTextValue(key.get(), "WallpaperSource", path, capacity);
    return path[0] != '\0';
}

// The saver's own file, or a picture of the catalogue.
bool isOursOrCataloguePicture(const char* path) {
    char own[kPathCapacity];
    if (formOwnWallpaperPath(nullptr, own, sizeof own) && lstrcmpiA(own, path) == 0)
        return true;
    return isCataloguePicture(path);
}

} // namespace

bool locateOwnWallpaper(HWND owner, OwnWallpaperLocation& location) {
    location.folder[0] = '\0';
    location.file[0] = '\0';
    char appData[MAX_PATH * 2] = {};
    if (SHGetSpecialFolderPathA(owner, appData, CSIDL_LOCAL_APPDATA, TRUE) &&
        copyText(location.folder, sizeof location.folder, appData) &&
        appendStringResource(location.folder, sizeof location.folder, IDS_DATA_FOLDER) &&
        copyText(location.file, sizeof location.file, location.folder) &&
        appendStringResource(location.file, sizeof location.file, IDS_WALLPAPER_FILE))
        return true;
    location.folder[0] = '\0';
    location.file[0] = '\0';
    return false;
}

bool formOwnWallpaperPath(HWND owner, char* path, std::size_t capacity) {
    if (capacity == 0)
        return false;
    path[0] = '\0';
    OwnWallpaperLocation location;
    if (locateOwnWallpaper(owner, location) && copyText(path, capacity, location.file))
        return true;
    path[0] = '\0';
    return false;
}

bool readCurrentWallpaper(char* path, std::size_t capacity) {
    RegKey key;
    if (!key.open(HKEY_CURRENT_USER, "Control Panel\\desktop", KEY_QUERY_VALUE))
        return false;
    char wallpaper[kPathCapacity];
    char original[kPathCapacity];
    char converted[kPathCapacity];
    readTextValue(key.get(), "Wallpaper", wallpaper, sizeof wallpaper);
    readTextValue(key.get(), "OriginalWallpaper", original, sizeof original);
    readTextValue(key.get(), "ConvertedWallpaper", converted, sizeof converted);
    copyText(path, capacity, lstrcmpiA(wallpaper, original) == 0 ? converted : wallpaper);
    return true;
}

bool isCataloguePicture(const char* path) {
    char prefix[kPathCapacity + 1];
    resourceFolder(prefix, kPathCapacity);
    appendText(prefix, sizeof prefix, "\\");

    char catalogue[kPathCapacity];
    if (!catalogueFilePath(catalogue, sizeof catalogue))
        return false;
    for (int type = kFirstTypeNumber; type <= kLastTypeNumber; ++type) {
        char section[16];
        typeSectionName(type, section);
        char keys[kKeyListCapacity];
        GetPrivateProfileStringA(section, nullptr, missingMarker, keys, sizeof keys, catalogue);
        if (std::strcmp(keys, missingMarker) == 0)
            continue;
        // The list is NUL-separated and ends with an empty name; stay inside the buffer.
        for (const char* key = keys; key < keys + sizeof keys && *key;
             key += std::strlen(key) + 1) {
            if (!isFileKeyName(key))
                continue;
            char value[kFileSpecCapacity];
            if (!readCatalogueString(section, key, value, sizeof value))
                continue;
            char candidate[sizeof prefix + kFileSpecCapacity];
            std::strcpy(candidate, prefix);
            nextTextField(value, candidate + std::strlen(candidate), kFileSpecCapacity);
            if (lstrcmpiA(path, candidate) == 0)
                return true;
        }
    }
    return false;
}

bool backgroundFixedByPolicy() {
    for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        RegKey key;
        // "Prevent changing desktop background": a number, though some tools store text.
        if (key.open(hive, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\ActiveDesktop",
                     KEY_QUERY_VALUE)) {
            DWORD type = REG_NONE;
            char data[16] = {};
            DWORD size = sizeof data - 1;
            if (RegQueryValueExA(key.get(), "NoChangingWallPaper", nullptr, &type,
                                 reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS) {
                DWORD number = 0;
                std::memcpy(&number, data, sizeof number);
                const bool text = type == REG_SZ || type == REG_EXPAND_SZ;
                if ((type == REG_DWORD && number != 0) || (text && std::atoi(data) != 0))
                    return true;
            }
        }
        // "Desktop Wallpaper": the background the administrator set, even an empty one.
        if (key.open(hive, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                     KEY_QUERY_VALUE)) {
            DWORD type = REG_NONE;
            if (RegQueryValueExA(key.get(), "Wallpaper", nullptr, &type, nullptr, nullptr) ==
                    ERROR_SUCCESS &&
                (type == REG_SZ || type == REG_EXPAND_SZ))
                return true;
        }
    }
    return false;
}

bool shouldBuildWallpaper() {
    return shouldBuildWallpaper(atLeastWindows8());
}

bool shouldBuildWallpaper(bool windows8OrLater) {
    // The administrator's background is not ours to replace, whatever the user chose.
    if (backgroundFixedByPolicy())
        return false;
    std::uint32_t policy = loadWallpaperPolicy();
    if (policy == storedPolicy(WallpaperPolicy::Never))
        return false;
    if (policy == storedPolicy(WallpaperPolicy::Always))
        return true;
    char current[kPathCapacity];
    if (!readCurrentWallpaper(current, sizeof current))
        return false;
    if (isOursOrCataloguePicture(current))
        return true;
    if (!isTranscodedCopy(current))
        return false;
    // The copy is never one of ours; the picture it was made from may be.
    char original[kPathCapacity];
    RegKey desktop;
    if (!desktop.open(HKEY_CURRENT_USER, "Control Panel\\desktop", KEY_QUERY_VALUE))
        return false;
    switch (readTranscodedImageCache(desktop.get(), original, sizeof original)) {
    case CacheRead::Path:
        return isOursOrCataloguePicture(original);
    case CacheRead::Unreadable:
        return false; // the system keeps one, but not one we can judge: the user's
    case CacheRead::Absent:
        break;
    }
    // The Active Desktop's own value, which the hand-off writes too: from Windows 8 on it
    // no longer follows the background that the user picks, and would take it back.
    if (windows8OrLater)
        return false;
    return readWallpaperSource(original, sizeof original) && isOursOrCataloguePicture(original);
}
