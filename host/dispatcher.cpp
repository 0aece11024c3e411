#include "host/command_line.h"
#include "host/fault_guard.h"
#include "host/saver_host.h"
#include "host/saver_modes.h"

bool isWindows9xFamily() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

namespace {

bool namesWindow(HWND handle) {
    return handle != nullptr && IsWindow(handle);
}

int runRequest(const SaverRequest& request) {
    switch (request.mode) {
    case SettingsMode:
        return showSettings(nullptr);
    case ConfigureMode:
        return showSettings(namesWindow(request.handle) ? request.handle : GetForegroundWindow());
    case ChangePasswordMode:
        if (!saverHost().isWin9x)
            return kRejectedExitCode;
        changePassword(request.handle);
        return 0;
    case PreviewMode:
        return namesWindow(request.handle) ? runSaver(request.handle) : kRejectedExitCode;
    case FullScreenMode:
        return runSaver(nullptr);
    case RejectedMode:
        break;
    }
    return kRejectedExitCode;
}

} // namespace

int dispatchCommandLine(HINSTANCE instance, const char* tail) {
    SaverHost& host = saverHost();
    host.instance = instance;
    host.isWin9x = isWindows9xFamily();
    FaultGuard guard;
    return runRequest(parseCommandLine(tail));
}
