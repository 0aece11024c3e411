#pragma once
#include "host/saver_host.h"
#include "host/saver_window.h"
#include "tests/support/test_window.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

// A saver window of this test process, driven by sending it messages. The host record is
// fresh for every test; the class is registered for the test and removed after it.
class SaverWindowTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    HWND makeFullScreen();
    HWND makePreview(HWND parent);
    // A framed test window at the screen's top-left corner to act as the display-settings
    // page; it records the help requests that reach it (help_request.h).
    HWND makeParent(int width, int height);

    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(window, message, wParam, lParam);
    }
    // Whether the saver asked to close since the last call (the queued closes are taken).
    bool closeRequested();
    // Dispatches what is queued for this thread (except the saver's own closes).
    void pumpOtherMessages();

    SaverHost& host = saverHost();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND window = nullptr;
    HWND parent = nullptr;

  private:
    std::unique_ptr<TestWindow> page_;
};

// Records the system commands that reach the platform's default handling (which reports
// them to a CBT hook before acting) and stops them there, so that none takes effect.
class SystemCommandRecorder {
  public:
    SystemCommandRecorder();
    ~SystemCommandRecorder();
    SystemCommandRecorder(const SystemCommandRecorder&) = delete;
    SystemCommandRecorder& operator=(const SystemCommandRecorder&) = delete;

    static std::vector<WPARAM>& commands();

  private:
    HHOOK hook_;
};
