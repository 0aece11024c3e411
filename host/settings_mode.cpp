#include "saver_host.h"
#include "saver_modes.h"
#include "settings_dialog.h"

int showSettings(HWND owner) {
    return static_cast<int>(runSettingsDialog(saverHost().instance, owner));
}
