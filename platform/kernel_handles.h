#pragma once
#include <windows.h>
#include <objbase.h>

// A kernel handle (file, event, thread, mapping) closed with CloseHandle. Both null and
// INVALID_HANDLE_VALUE mean "nothing held".
class KernelHandle {
  public:
    KernelHandle() = default;
    explicit KernelHandle(HANDLE handle) : handle_(handle) {}
    ~KernelHandle() { reset(); }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;
    KernelHandle(KernelHandle&& other) noexcept : handle_(other.release()) {}
    KernelHandle& operator=(KernelHandle&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    explicit operator bool() const { return valid(); }
    HANDLE release() {
        HANDLE handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    void reset(HANDLE handle = nullptr) {
        if (valid())
            CloseHandle(handle_);
        handle_ = handle;
    }

  private:
    HANDLE handle_ = nullptr;
};

// COM for the calling thread, for the owner's lifetime.
class ComInitialization {
  public:
    explicit ComInitialization(DWORD model = COINIT_APARTMENTTHREADED)
        : result_(CoInitializeEx(nullptr, model)) {}
    ~ComInitialization() {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }
    ComInitialization(const ComInitialization&) = delete;
    ComInitialization& operator=(const ComInitialization&) = delete;

    bool succeeded() const { return SUCCEEDED(result_); }

  private:
    HRESULT result_;
};
