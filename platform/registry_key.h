#pragma once
#include <windows.h>

// Owns an open registry key; closes it once.
class RegKey {
  public:
    RegKey() = default;
    explicit RegKey(HKEY key) : key_(key) {}
    ~RegKey() { reset(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&& other) noexcept : key_(other.release()) {}
    RegKey& operator=(RegKey&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    // Opens parent\subKey with the given access; false leaves the owner empty.
    bool open(HKEY parent, const char* subKey, REGSAM access) {
        reset();
        if (RegOpenKeyExA(parent, subKey, 0, access, &key_) == ERROR_SUCCESS)
            return true;
        key_ = nullptr;
        return false;
    }

    HKEY get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }
    HKEY* receive() {
        reset();
        return &key_;
    }
    HKEY release() {
        HKEY key = key_;
        key_ = nullptr;
        return key;
    }
    void reset(HKEY key = nullptr) {
        if (key_)
            RegCloseKey(key_);
        key_ = key;
    }

  private:
    HKEY key_ = nullptr;
};
