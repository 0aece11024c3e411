#pragma once
#include <windows.h>
#include <cstdint>

// A top-level window of the test on the display. Every one records the help requests that
// reach it (see help_request.h).
class TestWindow {
  public:
    // A pop-up at the screen's top-left corner whose erase and paint draw nothing, as the
    // saver's window behaves: what is on it is what was drawn into its DC.
    TestWindow(int width, int height);
    // A pop-up as above of the whole screen's size.
    static TestWindow fullScreen();
    // A framed window with a white client area, standing in for the display-settings page
    // or for the window that owns the settings dialog.
    TestWindow(int x, int y, int width, int height);
    ~TestWindow();
    TestWindow(TestWindow&& other) noexcept : window_(other.window_) { other.window_ = nullptr; }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND get() const { return window_; }
    int width() const;
    int height() const;
    // Fills the window (or area of it) with colour, 0x00RRGGBB.
    void fill(std::uint32_t colour, const RECT* area = nullptr) const;
    // Fills the whole window and waits until the screen itself shows it (a window's drawing
    // reaches the screen a little later under Wine); false when it never does.
    bool fillOnScreen(std::uint32_t colour) const;
    // Destroys the window before the object goes.
    void destroy();

  private:
    TestWindow(DWORD exStyle, DWORD style, bool framed, int x, int y, int width, int height);
    HWND window_ = nullptr;
};
