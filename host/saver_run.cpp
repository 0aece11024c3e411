#include "host/password_check.h"
#include "host/saver_host.h"
#include "host/saver_modes.h"
#include "host/saver_window.h"

int runSaver(HWND parent) {
    SaverHost& host = saverHost();
    SaverWindowLayout layout;
    if (parent) {
        layout = previewLayout(parent);
        host.preview = true;
    } else {
        layout = fullScreenLayout();
        HWND running = FindWindowA(kSaverClassName, kFullScreenTitle);
        if (running && IsWindow(running)) {
            SetForegroundWindow(running);
            return 0;
        }
        preparePasswordCheck();
    }
    host.autoPlayMessage = host.isWin9x ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0;

    int exitCode = kNoWindowExitCode;
    if (registerSaverClass(host.instance))
        host.saverWindow = openSaverWindow(host.instance, layout);
    if (host.saverWindow) {
        if (!parent)
            SetForegroundWindow(host.saverWindow);
        exitCode = runMessageLoop();
    }
    releasePasswordCheck();
    return exitCode;
}
