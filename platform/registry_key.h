#pragma once
#include "unique_handle.h"

#include <windows.h>

// Owns an open registry key; closes it once.
struct RegistryKeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
class RegKey : public UniqueHandle<HKEY, RegistryKeyCloser> {
  public:
    using UniqueHandle::UniqueHandle;

    // Opens parent\subKey with the given access; false leaves the owner empty.
    bool open(HKEY parent, const char* subKey, REGSAM access) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(parent, subKey, 0, access, &key) != ERROR_SUCCESS) {
            reset();
            return false;
        }
        reset(key);
        return true;
    }
};
