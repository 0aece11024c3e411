#include "animator/desktop_composition.h"

DesktopComposition::DesktopComposition()
    : dwmapi_(loadSystemLibrary("dwmapi.dll")),
      isEnabled_(dwmapi_.find<IsEnabledFn>("DwmIsCompositionEnabled")) {}

bool DesktopComposition::enabled() const {
    BOOL enabled = FALSE;
    return isEnabled_ && SUCCEEDED(isEnabled_(&enabled)) && enabled;
}
