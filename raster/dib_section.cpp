#include "raster/dib_section.h"

#include <new>
#include <unordered_set>

namespace {

// The sections made here and not yet deleted. Both the render thread and the window
// thread make and free them.
class SectionRegistry {
  public:
    bool add(HGDIOBJ bitmap) {
        AcquireSRWLockExclusive(&lock_);
        bool added = false;
        try {
            sections_.insert(bitmap);
            added = true;
        } catch (const std::bad_alloc&) {
        }
        ReleaseSRWLockExclusive(&lock_);
        return added;
    }
    void remove(HGDIOBJ bitmap) {
        AcquireSRWLockExclusive(&lock_);
        sections_.erase(bitmap);
        ReleaseSRWLockExclusive(&lock_);
    }
    bool contains(HGDIOBJ bitmap) {
        AcquireSRWLockShared(&lock_);
        const bool found = sections_.count(bitmap) != 0;
        ReleaseSRWLockShared(&lock_);
        return found;
    }

  private:
    SRWLOCK lock_ = SRWLOCK_INIT;
    std::unordered_set<HGDIOBJ> sections_;
};

SectionRegistry& registry() {
    static SectionRegistry sections;
    return sections;
}

} // namespace

BITMAPINFO topDownDibInfo(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

void TopDownSectionDeleter::operator()(HBITMAP bitmap) const {
    // Forgotten first: once deleted, its handle may be given to another bitmap.
    registry().remove(bitmap);
    DeleteObject(bitmap);
}

TopDownBitmap makeDibSection(int width, int height, std::uint32_t** pixels) {
    if (pixels)
        *pixels = nullptr;
    const BITMAPINFO info = topDownDibInfo(width, height);
    void* bits = nullptr;
    HBITMAP made = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (made && !registry().add(made)) {
        // Unknown to the pixel routines, it would be drawn through GDI alone: not worth it.
        DeleteObject(made);
        made = nullptr;
    }
    TopDownBitmap bitmap(made);
    if (pixels && bitmap)
        *pixels = static_cast<std::uint32_t*>(bits);
    return bitmap;
}

bool isTopDownSection(HGDIOBJ bitmap) {
    return bitmap && registry().contains(bitmap);
}
