#pragma once
#include "platform/unique_handle.h"

#include <windows.h>
#include <objbase.h>

// A kernel handle (file, event, thread, mapping) closed with CloseHandle. Both null and
// INVALID_HANDLE_VALUE (what CreateFile gives on failure) mean "nothing held".
struct KernelHandleCloser {
    void operator()(HANDLE handle) const {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
};
class KernelHandle : public UniqueHandle<HANDLE, KernelHandleCloser> {
  public:
    using UniqueHandle::UniqueHandle;
    bool valid() const { return get() != nullptr && get() != INVALID_HANDLE_VALUE; }
    explicit operator bool() const { return valid(); }
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
