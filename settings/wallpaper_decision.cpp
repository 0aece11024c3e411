#include "wallpaper_decision.h"
#include "catalogue.h"
#include "catalogue_path.h"
#include "field_tokenizer.h"
#include "preferences.h"
#include "registry_key.h"
#include "text_buffer.h"

#include <shlobj.h>
#include <cstring>

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

} // namespace

bool formOwnWallpaperPath(HWND owner, char* path, std::size_t capacity) {
    char folder[MAX_PATH * 2] = {};
    if (capacity == 0 || !SHGetSpecialFolderPathA(owner, folder, CSIDL_LOCAL_APPDATA, TRUE))
        return false;
    path[0] = '\0';
    if (copyText(path, capacity, folder) &&
        appendStringResource(path, capacity, kDataFolderStringId) &&
        appendStringResource(path, capacity, kWallpaperFileStringId))
        return true;
    path[0] = '\0';
    return false;
}

bool readCurrentWallpaper(char* path, std::size_t capacity) {
    HKEY opened = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\desktop", &opened) != ERROR_SUCCESS)
        return false;
    RegKey key(opened);
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

bool shouldBuildWallpaper() {
    std::uint32_t policy = loadWallpaperPolicy();
    if (policy == Never)
        return false;
    if (policy == Always)
        return true;
    char current[kPathCapacity];
    if (!readCurrentWallpaper(current, sizeof current))
        return false;
    char own[kPathCapacity];
    if (formOwnWallpaperPath(nullptr, own, sizeof own) && lstrcmpiA(own, current) == 0)
        return true;
    return isCataloguePicture(current);
}
