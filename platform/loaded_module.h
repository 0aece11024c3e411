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
