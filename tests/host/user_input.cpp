#include "tests/host/user_input.h"
#include "platform/gdi_handles.h"
#include "raster/dib_section.h"

void pressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT down = {};
        down.type = INPUT_KEYBOARD;
        down.ki.wVk = key;
        INPUT up = down;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(down);
        inputs.push_back(up);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void clickLeftButton() {
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

void moveMouseBy(int dx, int dy) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
}

std::vector<COLORREF> readScreenRow(int y) {
    // The whole virtual screen: on several monitors, all of them side by side.
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    std::vector<COLORREF> row;
    WindowDC screen(nullptr);
    MemoryDC memory(screen.get());
    std::uint32_t* pixels = nullptr;
    TopDownBitmap bitmap = makeDibSection(width, 1, &pixels);
    if (!screen || !memory || !bitmap)
        return row;
    SelectedObject selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, 1, screen.get(), left, y, SRCCOPY);
    GdiFlush();
    for (int x = 0; x < width; ++x)
        row.push_back(RGB((pixels[x] >> 16) & 0xFF, (pixels[x] >> 8) & 0xFF, pixels[x] & 0xFF));
    return row;
}
