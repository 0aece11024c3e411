#include "host/password_check.h"
#include "host/saver_host.h"
#include "platform/registry_key.h"

void announceSaverRunning(bool on) {
    BOOL previous = FALSE;
    SystemParametersInfoA(SPI_SCREENSAVERRUNNING, on ? TRUE : FALSE, &previous, 0);
}

void setSaverRunning(bool on) {
    if (saverHost().isWin9x)
        announceSaverRunning(on);
}

void preparePasswordCheck() {
    SaverHost& host = saverHost();
    if (!host.isWin9x)
        return;
    if (host.passwordLibrary)
        releasePasswordCheck();
    RegKey desktop;
    if (!desktop.open(HKEY_CURRENT_USER, "Control Panel\\Desktop", KEY_READ))
        return;
    DWORD usePassword = 0;
    DWORD size = sizeof usePassword;
    if (RegQueryValueExA(desktop.get(), "ScreenSaveUsePassword", nullptr, nullptr,
                         reinterpret_cast<BYTE*>(&usePassword), &size) != ERROR_SUCCESS ||
        usePassword == 0)
        return;
    host.passwordLibrary = LoadedModule("PASSWORD.CPL");
    if (!host.passwordLibrary)
        return;
    host.verifyPasswordFn = host.passwordLibrary.find<VerifyPasswordFn>("VerifyScreenSavePwd");
    if (host.verifyPasswordFn)
        setSaverRunning(true);
    else
        releasePasswordCheck();
}

void releasePasswordCheck() {
    SaverHost& host = saverHost();
    if (!host.isWin9x || !host.passwordLibrary)
        return;
    host.passwordLibrary.reset();
    if (host.verifyPasswordFn) {
        host.verifyPasswordFn = nullptr;
        setSaverRunning(false);
    }
}
