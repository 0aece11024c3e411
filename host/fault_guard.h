#pragma once
#include <windows.h>
#include <exception>

// While it lives, a fault that nothing handles (on any thread) first switches the Windows
// 9x running state off and then goes on to the platform's own handling (which reports it
// and ends the process with the fault's code); a C++ exception that escapes switches it
// off and ends the process with kEscapedExceptionExitCode. A crash never leaves the
// system believing a screen saver still runs.
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
