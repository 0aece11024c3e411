#pragma once
#include <windows.h>

// A global-memory object (GlobalAlloc), freed with GlobalFree.
class GlobalMemory {
  public:
    GlobalMemory() = default;
    explicit GlobalMemory(HGLOBAL handle) : handle_(handle) {}
    ~GlobalMemory() { reset(); }
    GlobalMemory(const GlobalMemory&) = delete;
    GlobalMemory& operator=(const GlobalMemory&) = delete;
    GlobalMemory(GlobalMemory&& other) noexcept : handle_(other.release()) {}
    GlobalMemory& operator=(GlobalMemory&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    HGLOBAL get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    HGLOBAL release() {
        HGLOBAL handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    void reset(HGLOBAL handle = nullptr) {
        if (handle_)
            GlobalFree(handle_);
        handle_ = handle;
    }

  private:
    HGLOBAL handle_ = nullptr;
};
