// What a picture that moves as a whole cannot go below: a full-screen window that gets one
// full-screen copy from a picture in memory every 80 ms, and does nothing else. scripts/bench
// measures this program's processor time beside the saver's.
//   screen_copy_floor.exe [seconds, default 30]
#include "platform/gdi_handles.h"
#include "raster/dib_section.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>

namespace {

constexpr DWORD kFramePeriodMs = 80;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int main(int argc, char** argv) {
    const DWORD seconds = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 30;
    // The whole desktop, every monitor, as the saver covers it.
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ScreenCopyFloor";
    RegisterClassA(&windowClass);
    HWND window =
        CreateWindowExA(WS_EX_TOPMOST, "ScreenCopyFloor", "Copy floor", WS_POPUP | WS_VISIBLE, left,
                        top, width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window)
        return 1;
    // Two pictures in turn, so that every copy changes the whole screen.
    std::uint32_t* pixels[2] = {};
    TopDownBitmap pictures[2] = {makeDibSection(width, height, &pixels[0]),
                                 makeDibSection(width, height, &pixels[1])};
    if (!pixels[0] || !pixels[1])
        return 1;
    for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
        pixels[0][i] = static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFF;
        pixels[1][i] = ~pixels[0][i] & 0xFFFFFF;
    }
    MemoryDC memory(nullptr);
    WindowDC windowDC(window);
    const DWORD start = GetTickCount();
    for (DWORD frame = 0; GetTickCount() - start < seconds * 1000; ++frame) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        SelectedObject selection(memory.get(), pictures[frame % 2].get());
        BitBlt(windowDC.get(), 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
        const DWORD due = start + (frame + 1) * kFramePeriodMs;
        const DWORD now = GetTickCount();
        if (static_cast<LONG>(due - now) > 0)
            Sleep(due - now);
    }
    return 0;
}
