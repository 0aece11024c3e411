#include "tests/support/captured_picture.h"
#include "platform/gdi_handles.h"
#include "tests/support/dib_section.h"

#include <algorithm>
#include <cstddef>
#include <functional>

bool Picture::all(std::uint32_t colour) const {
    return !pixels.empty() && std::all_of(pixels.begin(), pixels.end(),
                                          [colour](std::uint32_t p) { return p == colour; });
}

namespace {

// Lets copyInto draw into a DIB section of the size and reads its pixels.
Picture readThrough(int width, int height, const std::function<void(HDC)>& copyInto) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    std::uint32_t* bits = nullptr;
    TopDownBitmap section = makeDibSection(width, height, &bits);
    MemoryDC memory(nullptr);
    if (!section || !memory)
        return picture;
    {
        SelectedObject selection(memory.get(), section.get());
        copyInto(memory.get());
        GdiFlush();
    }
    picture.pixels.assign(bits, bits + static_cast<std::size_t>(width) * height);
    for (auto& p : picture.pixels)
        p &= 0xFFFFFF;
    return picture;
}

} // namespace

Picture capture(HWND window) {
    RECT rect;
    GetClientRect(window, &rect);
    WindowDC dc(window);
    return readThrough(rect.right, rect.bottom, [&](HDC memory) {
        BitBlt(memory, 0, 0, rect.right, rect.bottom, dc.get(), 0, 0, SRCCOPY);
    });
}

Picture captureBitmap(HBITMAP bitmap, int width, int height) {
    return readThrough(width, height, [&](HDC memory) {
        MemoryDC source(memory);
        SelectedObject selection(source.get(), bitmap);
        BitBlt(memory, 0, 0, width, height, source.get(), 0, 0, SRCCOPY);
    });
}

std::uint32_t pixelAt(HWND window, int x, int y) {
    WindowDC dc(window);
    return dibPixel(GetPixel(dc.get(), x, y));
}
