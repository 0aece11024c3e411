#include "tests/support/test_window.h"
#include "platform/gdi_handles.h"
#include "tests/support/help_request.h"
#include "tests/support/pixels.h"
#include "tests/support/wait_for.h"

#include <stdexcept>

namespace {

constexpr char kPopupClass[] = "OrvikTestPopup";
constexpr char kFramedClass[] = "OrvikTestWindow";

LRESULT CALLBACK testWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (recordHelpRequest(message, wParam, lParam))
        return 1;
    // A class without a brush is the pop-up's: nothing erases what was drawn into it.
    if (message == WM_ERASEBKGND && !GetClassLongPtrA(window, GCLP_HBRBACKGROUND))
        return 1;
    return DefWindowProcA(window, message, wParam, lParam);
}

void registerClasses() {
    static const bool registered = [] {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = testWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
        windowClass.lpszClassName = kPopupClass;
        if (!RegisterClassA(&windowClass))
            return false;
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = kFramedClass;
        return RegisterClassA(&windowClass) != 0;
    }();
    if (!registered)
        throw std::runtime_error("cannot register the test window classes");
}

} // namespace

TestWindow::TestWindow(DWORD exStyle, DWORD style, bool framed, int x, int y, int width,
                       int height) {
    registerClasses();
    window_ = CreateWindowExA(exStyle, framed ? kFramedClass : kPopupClass, "Test window",
                              style | WS_VISIBLE, x, y, width, height, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    if (!window_)
        throw std::runtime_error("cannot create the test window");
    idleFor(50); // lets it show before the test draws or reads
}

TestWindow::TestWindow(int width, int height)
    : TestWindow(WS_EX_TOPMOST, WS_POPUP, false, 0, 0, width, height) {}

TestWindow::TestWindow(int x, int y, int width, int height)
    : TestWindow(0, WS_OVERLAPPEDWINDOW, true, x, y, width, height) {}

TestWindow TestWindow::fullScreen() {
    return TestWindow(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

TestWindow::~TestWindow() {
    destroy();
}

void TestWindow::destroy() {
    if (window_ && IsWindow(window_))
        DestroyWindow(window_);
    window_ = nullptr;
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
    BrushHandle brush(CreateSolidBrush(colorRef(colour)));
    FillRect(dc.get(), area ? area : &whole, brush.get());
    GdiFlush();
}

bool TestWindow::fillOnScreen(std::uint32_t colour) const {
    fill(colour);
    RECT rect = {};
    GetWindowRect(window_, &rect);
    const POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    return waitFor(
        [&] {
            WindowDC screen(nullptr);
            return dibPixel(GetPixel(screen.get(), centre.x, centre.y)) == colour;
        },
        5000);
}
