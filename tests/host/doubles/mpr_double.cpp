// Stands in for the system's "MPR.DLL": records each PwdChangePasswordA call in
// "mpr-calls.txt" beside itself.
#include "tests/host/doubles/double_files.h"

extern "C" __declspec(dllexport) DWORD WINAPI
    PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD reserved1, DWORD reserved2) {
    char line[200];
    std::snprintf(line, sizeof line, "provider=%s owner=%llu reserved=%lu,%lu",
                  provider ? provider : "(null)",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(owner)), reserved1,
                  reserved2);
    appendRecord("mpr-calls.txt", line);
    return 0;
}
