#include "host/session_notice.h"

namespace {

// wtsapi32.h's values.
constexpr DWORD kNotifyForThisSession = 0;
constexpr WPARAM kConsoleConnect = 0x1;
constexpr WPARAM kConsoleDisconnect = 0x2;
constexpr WPARAM kRemoteConnect = 0x3;
constexpr WPARAM kRemoteDisconnect = 0x4;
constexpr WPARAM kSessionLock = 0x7;
constexpr WPARAM kSessionUnlock = 0x8;

using RegisterFn = BOOL(WINAPI*)(HWND, DWORD);
using UnregisterFn = BOOL(WINAPI*)(HWND);

} // namespace

SessionNotice::SessionNotice(HWND window)
    : window_(window), wtsapi_(loadSystemLibrary("wtsapi32.dll")) {
    if (auto registerFn = wtsapi_.find<RegisterFn>("WTSRegisterSessionNotification"))
        registered_ = registerFn(window, kNotifyForThisSession) != FALSE;
}

SessionNotice::~SessionNotice() {
    if (!registered_)
        return;
    if (auto unregisterFn = wtsapi_.find<UnregisterFn>("WTSUnRegisterSessionNotification"))
        unregisterFn(window_);
}

void SessionVisibility::follow(WPARAM event) {
    switch (event) {
    case kSessionLock:
        locked = true;
        break;
    case kSessionUnlock:
        locked = false;
        break;
    // Another user switched in, or the session went to (or left) a remote client: nobody
    // at the console sees it until it is the console's again.
    case kConsoleDisconnect:
    case kRemoteConnect:
    case kRemoteDisconnect:
        awayFromConsole = true;
        break;
    case kConsoleConnect:
        awayFromConsole = false;
        break;
    default:
        break;
    }
}
