#pragma once
#include "unique_handle.h"

#include <windows.h>

// A library loaded by name (LoadLibraryA), freed with FreeLibrary.
struct LibraryFreer {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
class LoadedModule : public UniqueHandle<HMODULE, LibraryFreer> {
  public:
    LoadedModule() = default;
    explicit LoadedModule(const char* name) : UniqueHandle(LoadLibraryA(name)) {}

    // The export of that name as a function pointer of the caller's type; null when absent.
    template <typename Function>
    Function find(const char* exportName) const {
        if (!get())
            return nullptr;
        return reinterpret_cast<Function>(
            reinterpret_cast<void*>(GetProcAddress(get(), exportName)));
    }
};
