#include "saver_modes.h"

namespace {
// MPR's "PwdChangePasswordA": provider, owner window, two reserved values.
using ChangePasswordFn = DWORD(WINAPI*)(LPCSTR provider, HWND owner, DWORD, DWORD);
} // namespace

void changePassword(HWND owner) {
    if (owner == nullptr || !IsWindow(owner))
        owner = GetForegroundWindow();
    HMODULE mpr = LoadLibraryA("MPR.DLL");
    if (!mpr)
        return;
    auto change = reinterpret_cast<ChangePasswordFn>(
        reinterpret_cast<void*>(GetProcAddress(mpr, "PwdChangePasswordA")));
    if (change)
        change("SCRSAVE", owner, 0, 0);
    FreeLibrary(mpr);
}
