#include "settings/preferences.h"
#include "platform/registry_key.h"

#include <windows.h>

std::uint32_t readPreference(const char* valueName) {
    RegKey key;
    if (!key.open(HKEY_CURRENT_USER, preferenceKey, KEY_READ))
        return 0;
    BYTE data[4] = {};
    DWORD type = REG_NONE;
    DWORD size = sizeof data;
    if (RegQueryValueExA(key.get(), valueName, nullptr, &type, data, &size) != ERROR_SUCCESS)
        return 0;
    // Text is not a number, whatever its bytes; a hand-edited "3" must not become 51.
    if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ)
        return 0;
    return static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
           static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
}

bool writePreference(const char* valueName, std::uint32_t value) {
    RegKey().create(HKEY_CURRENT_USER, preferenceKey); // closed at once
    RegKey key;
    if (!key.open(HKEY_CURRENT_USER, preferenceKey, KEY_WRITE))
        return false;
    DWORD data = value;
    return RegSetValueExA(key.get(), valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof data) == ERROR_SUCCESS;
}

std::uint32_t loadSelectedType() {
    return readPreference(kSelectedTypeValue);
}
void saveSelectedType(std::uint32_t typeNumber) {
    writePreference(kSelectedTypeValue, typeNumber);
}
std::uint32_t loadWallpaperPolicy() {
    return readPreference(kWallpaperPolicyValue);
}
void saveWallpaperPolicy(WallpaperPolicy policy) {
    writePreference(kWallpaperPolicyValue, storedPolicy(policy));
}

void resetSavedPosition() {
    writePreference(kResumeValue1, 0);
    writePreference(kResumeValue2, 0);
    writePreference(kResumeValue3, 0);
}
