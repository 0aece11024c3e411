#pragma once
#include "platform/unique_handle.h"

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

    // Opens parent\subKey, creating it and any missing keys above it (RegCreateKeyA);
    // false leaves the owner empty.
    bool create(HKEY parent, const char* subKey) {
        HKEY key = nullptr;
        if (RegCreateKeyA(parent, subKey, &key) != ERROR_SUCCESS) {
            reset();
            return false;
        }
        reset(key);
        return true;
    }
};
