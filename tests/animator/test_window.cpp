#include "tests/animator/test_window.h"
#include "platform/gdi_handles.h"

#include <algorithm>
#include <stdexcept>

namespace {

constexpr char kClassName[] = "AnimatorTestWindow";

LRESULT CALLBACK quietWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void registerClass() {
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = quietWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    if (!RegisterClassA(&windowClass))
        throw std::runtime_error("cannot register the test window class");
    registered = true;
}

} // namespace

TestWindow::TestWindow(int width, int height) {
    registerClass();
    window_ =
        CreateWindowExA(WS_EX_TOPMOST, kClassName, "Animator test", WS_POPUP | WS_VISIBLE, 0, 0,
                        width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window_)
        throw std::runtime_error("cannot create the test window");
    idleFor(50);
}

TestWindow TestWindow::fullScreen() {
    return TestWindow(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

TestWindow::~TestWindow() {
    if (window_)
        DestroyWindow(window_);
}

int TestWindow::width() const {
    RECT rect;
    GetWindowRect(window_, &rect);
    return rect.right - rect.left;
}

int TestWindow::height() const {
    RECT rect;
    GetWindowRect(window_, &rect);
    return rect.bottom - rect.top;
}

void TestWindow::fill(std::uint32_t colour, const RECT* area) const {
    RECT whole{0, 0, width(), height()};
    WindowDC dc(window_);
    BrushHandle brush(CreateSolidBrush(RGB(colour >> 16, (colour >> 8) & 0xFF, colour & 0xFF)));
    FillRect(dc.get(), area ? area : &whole, brush.get());
    GdiFlush();
}

bool Picture::all(std::uint32_t colour) const {
    return !pixels.empty() && std::all_of(pixels.begin(), pixels.end(),
                                          [colour](std::uint32_t p) { return p == colour; });
}

namespace {

Picture readThrough(int width, int height, const std::function<void(HDC)>& copyInto) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    BitmapHandle section(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDC memory(nullptr);
    if (!section || !memory)
        return picture;
    {
        SelectedObject selection(memory.get(), section.get());
        copyInto(memory.get());
        GdiFlush();
    }
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    picture.pixels.assign(pixels, pixels + static_cast<std::size_t>(width) * height);
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
    COLORREF colour = GetPixel(dc.get(), x, y);
    return rgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}
