#pragma once
#include <windows.h>

// A library loaded by name (LoadLibraryA), freed with FreeLibrary.
class LoadedModule {
  public:
    LoadedModule() = default;
    explicit LoadedModule(const char* name) : module_(LoadLibraryA(name)) {}
    ~LoadedModule() { reset(); }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;
    LoadedModule(LoadedModule&& other) noexcept : module_(other.release()) {}
    LoadedModule& operator=(LoadedModule&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    HMODULE get() const { return module_; }
    explicit operator bool() const { return module_ != nullptr; }
    // The export of that name as a function pointer of the caller's type; null when absent.
    template <typename Function>
    Function find(const char* exportName) const {
        if (!module_)
            return nullptr;
        return reinterpret_cast<Function>(
            reinterpret_cast<void*>(GetProcAddress(module_, exportName)));
    }
    HMODULE release() {
        HMODULE module = module_;
        module_ = nullptr;
        return module;
    }
    void reset(HMODULE module = nullptr) {
        if (module_)
            FreeLibrary(module_);
        module_ = module;
    }

  private:
    HMODULE module_ = nullptr;
};
