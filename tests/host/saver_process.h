#pragma once
#include "platform/kernel_handles.h"
#include "tests/support/unix_path.h"

#include <windows.h>

#include <string>
#include <vector>

// One run of the saver started as the system starts it: a command line of the program's
// path and a switch. Ended by force if the test leaves it running.
class SaverProcess {
  public:
    // commandLine is the whole line, program name included; the process starts in
    // currentFolder, or in the test's own current folder when it is empty.
    SaverProcess(const std::string& program, const std::string& commandLine,
                 const std::string& currentFolder = "");
    ~SaverProcess();
    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;

    bool started() const { return process_.valid(); }
    DWORD id() const { return id_; }
    bool running() const;
    // Waits (handling messages) for the end; false when it did not end within the bound.
    bool waitForExit(DWORD boundMs = 30000);
    DWORD exitCode() const;
    void kill();

    // The process's visible top-level windows now, and every one seen by watchWindows.
    std::vector<HWND> visibleWindows() const;
    void watchWindows();
    const std::vector<HWND>& windowsSeen() const { return seen_; }

    // Its window of the saver class: top level, or a child of parent; waitForSaverWindow
    // waits until it has been shown.
    HWND saverWindow(HWND parent = nullptr) const;
    HWND waitForSaverWindow(HWND parent = nullptr, DWORD boundMs = 30000);
    // Its top-level window with this caption.
    HWND waitForWindowTitled(const char* title, DWORD boundMs = 30000);

  private:
    KernelHandle process_;
    DWORD id_ = 0;
    std::vector<HWND> seen_;
};

// The windows of the saver class anywhere on the desktop.
std::vector<HWND> allSaverWindows();
std::string windowText(HWND window);
std::string className(HWND window);
