#include "host/message_layers.h"
#include "host/saver_host.h"

namespace {
// A close this soon after a refused password is the same user gesture: no new prompt.
constexpr DWORD kRepromptDelayMs = 200;
} // namespace

BOOL verifyPassword(HWND window) {
    SaverHost& host = saverHost();
    if (host.verifying || host.closeAccepted)
        return FALSE;
    if (!host.verifyPasswordFn) {
        host.closeAccepted = true;
        return TRUE;
    }
    DWORD now = GetTickCount();
    if (host.lastVerifyEnd != kNoVerification && now - host.lastVerifyEnd < kRepromptDelayMs)
        return host.closeAccepted;

    host.verifying = true;
    // Timer messages queued before the prompt would otherwise reach the saver during it.
    MSG pending;
    PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    LRESULT answer = SendMessageA(window, kVerifyPasswordMessage, 0, 0);
    host.closeAccepted = answer != 0;
    host.verifying = false;
    if (!host.closeAccepted)
        hideCursor();
    host.lastVerifyEnd = GetTickCount();
    return host.closeAccepted;
}
