#include "tests/host/desktop_state.h"

#include <shlobj.h>

std::string ownWallpaperFile() {
    char folder[MAX_PATH * 2] = {};
    SHGetSpecialFolderPathA(nullptr, folder, CSIDL_LOCAL_APPDATA, TRUE);
    return std::string(folder) + "\\Tolvane\\OrvikSaver\\CreatedFileByTolvaneScreenSaver.bmp";
}

std::string readRegistryText(const std::string& subKey, const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "";
    char text[1024] = {};
    DWORD size = sizeof text - 1;
    DWORD type = 0;
    LONG result =
        RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ) ? text : "";
}

std::string decimal(HWND window) {
    return std::to_string(reinterpret_cast<UINT_PTR>(window));
}
