// Stands in for the Windows 9x system's "PASSWORD.CPL". Each call of VerifyScreenSavePwd
// takes the next line of "verifier-script.txt": "accept", "refuse", or "crash" (a fault
// inside the prompt). Every call is appended to "verifier-calls.txt" with the window it
// was given and whether the system believed a screen saver to be running.
#include "tests/host/doubles/double_files.h"

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window) {
    static int calls = 0;
    std::string answer = scriptLine("verifier-script.txt", calls++);
    BOOL running = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    char line[160];
    std::snprintf(line, sizeof line, "window=%llu running=%d answer=%s",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)),
                  running ? 1 : 0, answer.c_str());
    appendRecord("verifier-calls.txt", line);
    if (answer == "crash")
        *static_cast<volatile int*>(nullptr) = 1;
    return answer == "accept";
}
