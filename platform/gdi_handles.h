#pragma once
#include "platform/unique_handle.h"

#include <windows.h>

// Small move-only owners of GDI resources. Each releases what it holds exactly once, in
// the order the platform needs: a selection is undone before its object is deleted.

// A GDI object (bitmap, brush, palette, region, ...) deleted with DeleteObject.
struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
template <typename Handle>
using GdiObject = UniqueHandle<Handle, GdiObjectDeleter>;

using BitmapHandle = GdiObject<HBITMAP>;
using BrushHandle = GdiObject<HBRUSH>;
using PaletteHandle = GdiObject<HPALETTE>;
using RegionHandle = GdiObject<HRGN>;

// A memory device context (CreateCompatibleDC), deleted with DeleteDC.
struct DeviceContextDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
class MemoryDC : public UniqueHandle<HDC, DeviceContextDeleter> {
  public:
    MemoryDC() = default;
    explicit MemoryDC(HDC compatibleWith) : UniqueHandle(CreateCompatibleDC(compatibleWith)) {}
};

// A window's device context (GetDC), given back with ReleaseDC. A null window is the
// screen.
class WindowDC {
  public:
    // Cache: one from the system's cache (GetDCEx with DCX_CACHE), never the class's own
    // context, for a thread other than the one that paints with the own context.
    enum class Source { Window, Cache };
    explicit WindowDC(HWND window, Source source = Source::Window)
        : window_(window),
          dc_(source == Source::Cache ? GetDCEx(window, nullptr, DCX_CACHE) : GetDC(window)) {}
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
