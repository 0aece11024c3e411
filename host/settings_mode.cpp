#include "dialog/settings_dialog.h"
#include "host/saver_host.h"
#include "host/saver_modes.h"

int showSettings(HWND owner) {
    return static_cast<int>(runSettingsDialog(saverHost().instance, owner));
}
