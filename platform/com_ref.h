#pragma once
#include <unknwn.h>

// One reference to a COM interface, released once.
template <typename Interface>
class ComRef {
  public:
    ComRef() = default;
    ~ComRef() { reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& other) noexcept : pointer_(other.pointer_) { other.pointer_ = nullptr; }
    ComRef& operator=(ComRef&& other) noexcept {
        if (this != &other) {
            reset();
            pointer_ = other.pointer_;
            other.pointer_ = nullptr;
        }
        return *this;
    }

    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // For an out parameter: releases what is held and hands out the empty slot.
    Interface** receive() {
        reset();
        return &pointer_;
    }
    void** receiveVoid() { return reinterpret_cast<void**>(receive()); }
    void reset() {
        if (pointer_)
            pointer_->Release();
        pointer_ = nullptr;
    }

  private:
    Interface* pointer_ = nullptr;
};
