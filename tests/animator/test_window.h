#pragma once
#include <windows.h>
#include <cstdint>
#include <functional>
#include <vector>
#include "tests/support/wait_for.h"

// 0x00RRGGBB, the layout of a 32-bit DIB pixel.
constexpr std::uint32_t rgb(unsigned r, unsigned g, unsigned b) {
    return (r << 16) | (g << 8) | b;
}

// A pop-up window at the screen's top-left corner whose erase and paint draw nothing, as
// the saver's window behaves: what is on it is what was drawn into its DC.
class TestWindow {
  public:
    TestWindow(int width, int height);
    // A window of the whole screen's size.
    static TestWindow fullScreen();
    ~TestWindow();
    TestWindow(TestWindow&& other) noexcept : window_(other.window_) { other.window_ = nullptr; }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND get() const { return window_; }
    int width() const;
    int height() const;
    void fill(std::uint32_t colour, const RECT* area = nullptr) const;

  private:
    HWND window_;
};

// The window's content as read back through its DC.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // top-down rows
    std::uint32_t at(int x, int y) const { return pixels[y * width + x]; }
    bool all(std::uint32_t colour) const;
    bool operator==(const Picture&) const = default;
};
Picture capture(HWND window);
Picture captureBitmap(HBITMAP bitmap, int width, int height);
std::uint32_t pixelAt(HWND window, int x, int y);
