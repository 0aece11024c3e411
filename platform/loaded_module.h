#pragma once
#include "platform/unique_handle.h"

#include <windows.h>

// The export of that name of a module as a function pointer of the caller's type; null when
// the module or the export is absent.
template <typename Function>
Function findExport(HMODULE module, const char* exportName) {
    if (!module)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, exportName)));
}

// A library loaded by name (LoadLibraryA), freed with FreeLibrary.
struct LibraryFreer {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
class LoadedModule : public UniqueHandle<HMODULE, LibraryFreer> {
  public:
    LoadedModule() = default;
    explicit LoadedModule(const char* name) : UniqueHandle(LoadLibraryA(name)) {}
    explicit LoadedModule(HMODULE module) : UniqueHandle(module) {}

    template <typename Function>
    Function find(const char* exportName) const {
        return findExport<Function>(get(), exportName);
    }
};

// A system library from the system folder only: a planted library of the same name beside
// the program, or in the current folder, is never loaded, nor one that something else
// loaded from there already (by its full path, the system's copy is another module).
// Null when it cannot be loaded.
inline LoadedModule loadSystemLibrary(const char* name) {
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + 1 + lstrlenA(name) >= MAX_PATH)
        return LoadedModule();
    lstrcatA(path, "\\");
    lstrcatA(path, name);
    // Its own dependencies from the system folder too, where the system knows the flag.
    HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER)
        module = LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    return LoadedModule(module);
}
