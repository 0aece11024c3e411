#include "tests/host/desktop_state.h"

#include <shlobj.h>

std::string ownWallpaperFile() {
    char folder[MAX_PATH * 2] = {};
    SHGetSpecialFolderPathA(nullptr, folder, CSIDL_LOCAL_APPDATA, TRUE);
    return std::string(folder) + "\\Tolvane\\OrvikSaver\\CreatedFileByTolvaneScreenSaver.bmp";
}

std::string decimal(HWND window) {
    return std::to_string(reinterpret_cast<UINT_PTR>(window));
}
