#pragma once
#include "platform/unique_handle.h"

#include <windows.h>
#include <cstdint>

// The format of a 32-bit top-down DIB of width x height, for CreateDIBSection and
// GetDIBits.
BITMAPINFO topDownDibInfo(int width, int height);

// Forgets the section as one of makeDibSection's, then deletes it.
struct TopDownSectionDeleter {
    void operator()(HBITMAP bitmap) const;
};
// A 32-bit top-down DIB section made by makeDibSection: the only kind of bitmap whose
// pixels the in-memory routines address directly. The platform reports every DIB
// section's height as positive, so a bottom-up one (such as CreateCompatibleBitmap makes
// for a memory context that holds a DIB section) cannot be told apart by what it reports;
// it is told apart by not being one of these.
using TopDownBitmap = UniqueHandle<HBITMAP, TopDownSectionDeleter>;

// A 32-bit top-down DIB section, its pixels (row after row) in *pixels when asked for:
// a picture whose pixels can be read and written directly. Null when the platform cannot
// make one.
TopDownBitmap makeDibSection(int width, int height, std::uint32_t** pixels = nullptr);

// Whether bitmap is a live section that makeDibSection made.
bool isTopDownSection(HGDIOBJ bitmap);
