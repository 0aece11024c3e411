#include "host/message_layers.h"
#include "host/saver_host.h"

#include <cstdlib>

namespace {

// The mouse is read from the cursor, not from the message: a move message without a
// move (the system sends some) must never close the saver.
void closeIfMouseMoved(HWND window, SaverHost& host) {
    POINT now = {};
    if (!GetCursorPos(&now))
        return;
    unsigned distance = static_cast<unsigned>(std::abs(now.x - host.cursorReference.x)) +
                        static_cast<unsigned>(std::abs(now.y - host.cursorReference.y));
    if (distance > host.mouseThreshold) {
        closeSaver(window);
        host.cursorReference = now;
    }
}

// The closing rules of a running full-screen saver. True when the message is answered
// here with 1; otherwise the default handling follows.
bool applyCloseRules(HWND window, UINT message, WPARAM wParam, SaverHost& host) {
    switch (message) {
    case WM_ACTIVATEAPP:
        if (wParam == 0)
            closeSaver(window);
        break;
    case WM_SHOWWINDOW:
        if (wParam != 0)
            hideCursor();
        break;
    case WM_POWER:
        if (wParam == PWR_CRITICALRESUME)
            closeSaver(window);
        break;
    case WM_SETCURSOR:
        hideCursor();
        return true;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_POWERBROADCAST:
        closeSaver(window);
        break;
    case WM_MOUSEMOVE:
        closeIfMouseMoved(window, host);
        break;
    default:
        break;
    }
    return false;
}

} // namespace

LRESULT defaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SaverHost& host = saverHost();
    if (!host.preview && !host.closeAccepted) {
        if (message == WM_CLOSE) {
            if (host.isWin9x && !verifyPassword(window)) {
                // Refused (or asked too soon): stay, and measure the mouse afresh.
                GetCursorPos(&host.cursorReference);
                return 0;
            }
        } else if (message == kVerifyPasswordMessage) {
            if (host.isWin9x)
                return host.verifyPasswordFn ? host.verifyPasswordFn(window) : 1;
        } else if (!host.verifying) {
            if (applyCloseRules(window, message, wParam, host))
                return 1;
        }
    }
    if (host.autoPlayMessage != 0 && message == host.autoPlayMessage) {
        closeSaver(window);
        return host.verifyPasswordFn ? 1 : 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
