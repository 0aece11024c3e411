#pragma once
#include <windows.h>
#include <exception>

// While it lives, a fault that nothing handles (on any thread), or a C++ exception that
// escapes, first switches the Windows 9x running state off and then ends the process
// with the fault's code, so that a crash never leaves the system believing a screen
// saver still runs.
class FaultGuard {
  public:
    FaultGuard();
    ~FaultGuard();
    FaultGuard(const FaultGuard&) = delete;
    FaultGuard& operator=(const FaultGuard&) = delete;

  private:
    LPTOP_LEVEL_EXCEPTION_FILTER previousFilter_;
    std::terminate_handler previousTerminate_;
};
