#include "host/fault_guard.h"
#include "host/password_check.h"
#include "host/saver_host.h"
#include "host/saver_modes.h"

#include <atomic>
#include <cstdlib>

namespace {

// Copied when the guard is made: the filter may run on the render thread, which must
// not read the host record.
std::atomic<bool> guardedWin9x{false};

void switchOffRunningState() {
    if (guardedWin9x.load())
        announceSaverRunning(false);
}

LPTOP_LEVEL_EXCEPTION_FILTER filterBefore = nullptr;

// Called by the system's unhandled-exception filter. The running state goes off first,
// whichever way the process then ends; then the fault goes on to the filter that was
// there before and to the system's own handling (the error report, a debugger), which ends
// the process with the fault's code.
LONG WINAPI offerAfterFault(EXCEPTION_POINTERS* fault) {
    switchOffRunningState();
    if (filterBefore)
        return filterBefore(fault);
    return EXCEPTION_CONTINUE_SEARCH;
}

[[noreturn]] void endAfterEscapedException() {
    switchOffRunningState();
    // At once, as a fault ends: the other thread may hold the lock, nothing is unwound.
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(kEscapedExceptionExitCode));
    std::abort(); // not reached
}

} // namespace

FaultGuard::FaultGuard() {
    guardedWin9x.store(saverHost().isWin9x);
    previousFilter_ = SetUnhandledExceptionFilter(offerAfterFault);
    filterBefore = previousFilter_;
    previousTerminate_ = std::set_terminate(endAfterEscapedException);
}

FaultGuard::~FaultGuard() {
    std::set_terminate(previousTerminate_);
    SetUnhandledExceptionFilter(previousFilter_);
    filterBefore = nullptr;
}
