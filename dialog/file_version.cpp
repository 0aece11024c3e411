#include "dialog/file_version.h"
#include "platform/loaded_module.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <new>

bool readFileVersion(const char* path, FileVersion& version) {
    // version.dll is no KnownDLL: imported, a copy planted beside the program would be
    // loaded before the program's first line. Taken from the system folder instead.
    const LoadedModule library = loadSystemLibrary("version.dll");
    using SizeFunction = DWORD(WINAPI*)(LPCSTR, LPDWORD);
    using InfoFunction = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
    using QueryFunction = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    const auto GetFileVersionInfoSizeA = library.find<SizeFunction>("GetFileVersionInfoSizeA");
    const auto GetFileVersionInfoA = library.find<InfoFunction>("GetFileVersionInfoA");
    const auto VerQueryValueA = library.find<QueryFunction>("VerQueryValueA");
    if (!GetFileVersionInfoSizeA || !GetFileVersionInfoA || !VerQueryValueA) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return false;
    }
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
