#include "host/window_cloak.h"
#include "platform/loaded_module.h"

namespace {

constexpr DWORD kCloakAttribute = 13; // DWMWA_CLOAK

} // namespace

bool setWindowCloaked(HWND window, bool cloaked) {
    // Looked up: dwmapi is no KnownDLL on older systems, and Vista and 7 cannot cloak.
    using SetAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
    static const LoadedModule dwmapi = loadSystemLibrary("dwmapi.dll");
    auto setAttribute = dwmapi.find<SetAttributeFn>("DwmSetWindowAttribute");
    const BOOL value = cloaked ? TRUE : FALSE;
    return setAttribute && SUCCEEDED(setAttribute(window, kCloakAttribute, &value, sizeof value));
}
