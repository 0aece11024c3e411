#pragma once
#include "platform/loaded_module.h"

#include <windows.h>

// Asks the system whether it composes the desktop (DwmIsCompositionEnabled: Windows 7 with
// Aero, always from Windows 8 on). dwmapi is loaded from the system folder, once, by the
// owner; without it (or before Vista) there is no composition.
class DesktopComposition {
  public:
    DesktopComposition();
    bool enabled() const;

  private:
    using IsEnabledFn = HRESULT(WINAPI*)(BOOL*);
    LoadedModule dwmapi_;
    IsEnabledFn isEnabled_ = nullptr;
};
