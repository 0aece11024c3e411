#pragma once
#include <windows.h>

// Waits, handling this thread's messages meanwhile (a window of another process that
// has a parent or owner here needs them answered), until the condition holds or the
// bound has passed. Returns whether the condition held.
template <typename Condition>
bool waitFor(Condition condition, DWORD boundMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (condition())
            return true;
        if (GetTickCount() - start >= boundMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// Lets time pass while handling messages: for checks that something does NOT happen.
inline void idleFor(DWORD ms) {
    waitFor([] { return false; }, ms);
}
