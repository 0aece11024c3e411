// Runs as the saver does, on a Windows 9x family system with the running state on, under
// the saver's fault guard, and lets a C++ exception escape: the guard must switch the
// running state off and end the process with its own exit code.
#include "host/fault_guard.h"
#include "host/password_check.h"
#include "host/saver_host.h"

#include <windows.h>

#include <stdexcept>

int main() {
    saverHost().isWin9x = true;
    FaultGuard guard;
    setSaverRunning(true);
    throw std::runtime_error("nothing catches this");
}
