#include "animator/animator.h"
#include "animator/power_save.h"
#include "platform/loaded_module.h"

bool Animator::queryIdleTimeout(DWORD& seconds) {
    SYSTEM_POWER_STATUS status{};
    if (!GetSystemPowerStatus(&status))
        return false;
    // Loaded by name, as the platform searches for it: the application's folder first.
    LoadedModule powrprof("powrprof.dll");
    using GetPolicies = BOOLEAN(WINAPI*)(PGLOBAL_POWER_POLICY, PPOWER_POLICY);
    auto getCurrentPowerPolicies = powrprof.find<GetPolicies>("GetCurrentPowerPolicies");
    if (!getCurrentPowerPolicies)
        return false;
    GLOBAL_POWER_POLICY global{};
    POWER_POLICY policy{};
    if (!getCurrentPowerPolicies(&global, &policy))
        return false;
    seconds = idleTimeoutForPowerSource(status.ACLineStatus, policy);
    return true;
}
