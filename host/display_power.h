#pragma once
#include "platform/loaded_module.h"

#include <windows.h>

// What the system says of the display's power (Windows Vista and later).
enum class DisplayPower { Off, On, Dimmed };

// The display-power notifications of the system for one window, for the owner's life:
// WM_POWERBROADCAST with PBT_POWERSETTINGCHANGE, for GUID_CONSOLE_DISPLAY_STATE from
// Windows 8 on, GUID_MONITOR_POWER_ON before. Nothing on a system without them.
class DisplayPowerNotice {
  public:
    explicit DisplayPowerNotice(HWND window);
    ~DisplayPowerNotice();
    DisplayPowerNotice(const DisplayPowerNotice&) = delete;
    DisplayPowerNotice& operator=(const DisplayPowerNotice&) = delete;

    explicit operator bool() const { return registration_ != nullptr; }

  private:
    HPOWERNOTIFY registration_ = nullptr;
};

// The display's state in the setting that a PBT_POWERSETTINGCHANGE carries (lParam); false
// when the setting is not the display's or is malformed.
bool readDisplayPower(LPARAM setting, DisplayPower& state);
