#pragma once
#include "platform/gdi_handles.h"
#include "raster/dib_section.h"

// A 32-bit top-down bitmap of a given size in memory (which the Scene's drawing can also work
// on directly), selected into a memory context compatible with a device context for as long
// as the surface lives.
class OffscreenSurface {
  public:
    OffscreenSurface(HDC compatibleWith, int width, int height)
        : width_(width), height_(height), dc_(compatibleWith),
          bitmap_(makeDibSection(width, height)), selection_(dc_.get(), bitmap_.get()) {}
    OffscreenSurface(const OffscreenSurface&) = delete;
    OffscreenSurface& operator=(const OffscreenSurface&) = delete;

    HDC dc() const { return dc_.get(); }
    HBITMAP bitmap() const { return bitmap_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }
    explicit operator bool() const { return dc_ && bitmap_ && selection_; }

  private:
    int width_;
    int height_;
    // Destroyed in reverse: the selection is undone, then the bitmap and the context go.
    MemoryDC dc_;
    TopDownBitmap bitmap_;
    SelectedObject selection_;
};
