#include "dialog/file_version.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <new>

bool readFileVersion(const char* path, FileVersion& version) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0)
        return false;
    std::unique_ptr<BYTE[]> block(new (std::nothrow) BYTE[size]());
    if (!block) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!GetFileVersionInfoA(path, 0, size, block.get()) ||
        !VerQueryValueA(block.get(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize))
        return false;
    // A root block shorter than the fixed record would be read past its end.
    if (!fixed || fixedSize < sizeof *fixed) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return false;
    }
    version.parts[0] = HIWORD(fixed->dwFileVersionMS);
    version.parts[1] = LOWORD(fixed->dwFileVersionMS);
    version.parts[2] = HIWORD(fixed->dwFileVersionLS);
    version.parts[3] = LOWORD(fixed->dwFileVersionLS);
    return true;
}

void formatVersionSuffix(const FileVersion& version, char* suffix, std::size_t capacity) {
    if (capacity == 0)
        return;
    std::snprintf(suffix, capacity, " V%lu.%lu.%lu.%lu", version.parts[0], version.parts[1],
                  version.parts[2], version.parts[3]);
}
