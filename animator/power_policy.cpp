#include "animator/power_policy.h"
#include "animator/power_save.h"

PowerPolicyReader::PowerPolicyReader()
    : powrprof_(loadSystemLibrary("powrprof.dll")),
      getCurrentPowerPolicies_(powrprof_.find<GetPoliciesFn>("GetCurrentPowerPolicies")) {}

bool PowerPolicyReader::queryIdleTimeout(DWORD& seconds) const {
    SYSTEM_POWER_STATUS status{};
    if (!GetSystemPowerStatus(&status) || !getCurrentPowerPolicies_)
        return false;
    GLOBAL_POWER_POLICY global{};
    POWER_POLICY policy{};
    if (!getCurrentPowerPolicies_(&global, &policy))
        return false;
    seconds = idleTimeoutForPowerSource(status.ACLineStatus, policy);
    return true;
}
