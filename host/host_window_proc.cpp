#include "host/message_layers.h"
#include "host/saver_host.h"
#include "platform/loaded_module.h"

namespace {

constexpr UINT kHelpSendBoundMs = 5000;

// The input method would show its windows over the saver. IMM32 is loaded here if the
// process has not loaded it already (from the system folder), and held until the window
// goes, so that the dissociation works either way.
void dissociateInputMethod(HWND window, SaverHost& host) {
    host.inputMethodLibrary = loadSystemLibrary("imm32.dll");
    host.associateContextFn =
        host.inputMethodLibrary.find<AssociateContextFn>("ImmAssociateContext");
    if (host.associateContextFn)
        host.savedInputContext = host.associateContextFn(window, nullptr);
}

void restoreInputMethod(HWND window, SaverHost& host) {
    if (host.inputMethodLibrary && host.associateContextFn && host.savedInputContext)
        host.associateContextFn(window, host.savedInputContext);
    host.savedInputContext = nullptr;
    host.associateContextFn = nullptr;
    host.inputMethodLibrary.reset();
}

// The display-settings page answers help for the little monitor picture. WM_HELP carries
// a pointer, which no system posts (the post would fail and help would be lost), so it
// is sent, with a bound in case the page hangs; the context menu carries a point.
void forwardHelpRequest(HWND parent, UINT message, LPARAM lParam) {
    WPARAM page = reinterpret_cast<WPARAM>(parent);
    if (message == WM_HELP) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(parent, message, page, lParam, SMTO_ABORTIFHUNG, kHelpSendBoundMs,
                            &ignored);
    } else {
        PostMessageA(parent, message, page, lParam);
    }
}

bool isTaskSwitchCommand(WPARAM command) {
    // The low four bits of a system command are the system's own.
    WPARAM code = command & 0xFFF0;
    return code == SC_NEXTWINDOW || code == SC_PREVWINDOW || code == SC_SCREENSAVE;
}

} // namespace

LRESULT CALLBACK hostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SaverHost& host = saverHost();
    switch (message) {
    case WM_CREATE:
        dissociateInputMethod(window, host);
        GetCursorPos(&host.cursorReference);
        if (!host.preview)
            hideCursor();
        break;
    case WM_DESTROY:
        restoreInputMethod(window, host);
        PostQuitMessage(0);
        break;
    case WM_SETTEXT:
        return 0;
    case WM_PAINT:
        if (host.closeAccepted)
            return DefWindowProcA(window, message, wParam, lParam);
        if (!host.preview)
            hideCursor();
        break;
    case WM_HELP:
    case WM_CONTEXTMENU:
        if (host.preview) {
            HWND parent = GetParent(window);
            if (parent && IsWindow(parent))
                forwardHelpRequest(parent, message, lParam);
            return 1;
        }
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (host.closeAccepted)
            return DefWindowProcA(window, message, wParam, lParam);
        break;
    case WM_SYSCOMMAND:
        if (!host.preview && isTaskSwitchCommand(wParam))
            return 0;
        break;
    case WM_TIMER:
        if (host.closeAccepted)
            return 0;
        Sleep(0);
        break;
    default:
        break;
    }
    return saverProc(window, message, wParam, lParam);
}
