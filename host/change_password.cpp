#include "host/saver_modes.h"
#include "platform/loaded_module.h"

namespace {
// MPR's "PwdChangePasswordA": provider, owner window, two reserved values.
using ChangePasswordFn = DWORD(WINAPI*)(LPCSTR provider, HWND owner, DWORD, DWORD);
} // namespace

void changePassword(HWND owner) {
    if (owner == nullptr || !IsWindow(owner))
        owner = GetForegroundWindow();
    LoadedModule mpr("MPR.DLL");
    if (auto change = mpr.find<ChangePasswordFn>("PwdChangePasswordA"))
        change("SCRSAVE", owner, 0, 0);
}
