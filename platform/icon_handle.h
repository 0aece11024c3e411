#pragma once
#include <windows.h>

// An icon made for its owner (LoadImage without LR_SHARED, CreateIconIndirect, ...),
// destroyed once with DestroyIcon.
class IconHandle {
  public:
    IconHandle() = default;
    explicit IconHandle(HICON icon) : icon_(icon) {}
    ~IconHandle() { reset(); }
    IconHandle(const IconHandle&) = delete;
    IconHandle& operator=(const IconHandle&) = delete;
    IconHandle(IconHandle&& other) noexcept : icon_(other.release()) {}
    IconHandle& operator=(IconHandle&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    HICON get() const { return icon_; }
    explicit operator bool() const { return icon_ != nullptr; }
    HICON release() {
        HICON icon = icon_;
        icon_ = nullptr;
        return icon;
    }
    void reset(HICON icon = nullptr) {
        if (icon_)
            DestroyIcon(icon_);
        icon_ = icon;
    }

  private:
    HICON icon_ = nullptr;
};
