#pragma once
#include "platform/loaded_module.h"

#include <windows.h>

// While it lives, the file operations of this thread put up no system message box for a
// missing or failing drive (SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX): the thread's
// own error mode where the system has one (Windows 7 on), so that other threads keep
// theirs, else the process's. The mode before is restored when it goes.
class QuietFileErrors {
  public:
    QuietFileErrors() {
        using SetThreadModeFn = BOOL(WINAPI*)(DWORD, LPDWORD);
        setThreadMode_ =
            findExport<SetThreadModeFn>(GetModuleHandleA("kernel32.dll"), "SetThreadErrorMode");
        if (setThreadMode_ && setThreadMode_(kQuiet, &previous_))
            return;
        setThreadMode_ = nullptr;
        previous_ = SetErrorMode(kQuiet);
    }
    ~QuietFileErrors() {
        if (setThreadMode_)
            setThreadMode_(previous_, nullptr);
        else
            SetErrorMode(previous_);
    }
    QuietFileErrors(const QuietFileErrors&) = delete;
    QuietFileErrors& operator=(const QuietFileErrors&) = delete;

  private:
    static constexpr DWORD kQuiet = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;
    BOOL(WINAPI* setThreadMode_)(DWORD, LPDWORD) = nullptr;
    DWORD previous_ = 0;
};
