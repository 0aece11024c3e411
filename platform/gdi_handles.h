#pragma once
#include <windows.h>

// Small move-only owners of GDI resources. Each releases what it holds exactly once, in
// the order the platform needs: a selection is undone before its object is deleted.

// A GDI object (bitmap, brush, palette, region, ...) deleted with DeleteObject.
template <typename Handle>
class GdiObject {
  public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    ~GdiObject() { reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : handle_(other.release()) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
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
            DeleteObject(handle_);
        handle_ = handle;
    }

  private:
    Handle handle_ = nullptr;
};

using BitmapHandle = GdiObject<HBITMAP>;
using BrushHandle = GdiObject<HBRUSH>;
using PaletteHandle = GdiObject<HPALETTE>;
using RegionHandle = GdiObject<HRGN>;

// A memory device context (CreateCompatibleDC), deleted with DeleteDC.
class MemoryDC {
  public:
    MemoryDC() = default;
    explicit MemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDC() { reset(); }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    MemoryDC(MemoryDC&& other) noexcept : dc_(other.release()) {}
    MemoryDC& operator=(MemoryDC&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    HDC release() {
        HDC dc = dc_;
        dc_ = nullptr;
        return dc;
    }
    void reset(HDC dc = nullptr) {
        if (dc_)
            DeleteDC(dc_);
        dc_ = dc;
    }

  private:
    HDC dc_ = nullptr;
};

// A window's device context (GetDC), given back with ReleaseDC. A null window is the
// screen.
class WindowDC {
  public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC get() const { return dc_; }
    HWND window() const { return window_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a device context and selects the previous one back on
// destruction (before the owner of the object deletes it).
class SelectedObject {
  public:
    SelectedObject(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (previous_)
            SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

    // Whether the selection took place.
    explicit operator bool() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};
