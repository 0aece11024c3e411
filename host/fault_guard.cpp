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

LONG WINAPI endAfterFault(EXCEPTION_POINTERS*) {
    switchOffRunningState();
    // Ends the process with the exception code; no debugger is started.
    return EXCEPTION_EXECUTE_HANDLER;
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
    previousFilter_ = SetUnhandledExceptionFilter(endAfterFault);
    previousTerminate_ = std::set_terminate(endAfterEscapedException);
}

FaultGuard::~FaultGuard() {
    std::set_terminate(previousTerminate_);
    SetUnhandledExceptionFilter(previousFilter_);
}
