#pragma once

// A move-only owner of one platform handle, released exactly once with Closer. Null
// means "nothing held"; the specific owners (GdiObject, KernelHandle, RegKey, ...) are
// this with their own closer, and add what their kind of handle needs.
template <typename Handle, typename Closer>
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    Handle release() {
        Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    void reset(Handle handle = nullptr) {
        if (handle_)
            Closer{}(handle_);
        handle_ = handle;
    }
    // For the platform's out-parameters: releases what is held, then lends the slot.
    Handle* receive() {
        reset();
        return &handle_;
    }

  private:
    Handle handle_ = nullptr;
};
