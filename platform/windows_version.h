#pragma once
#include <windows.h>

// Whether the system is Windows 8 or later. The manifest names the later systems, so that
// 8.1, 10 and 11 say their own version rather than 6.2.
inline bool atLeastWindows8() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version))
        return false;
    return version.dwMajorVersion > 6 ||
           (version.dwMajorVersion == 6 && version.dwMinorVersion >= 2);
}
