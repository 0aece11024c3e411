#pragma once
#include "animator/power_save.h" // the one include of <powrprof.h>, which has no guard
#include "platform/loaded_module.h"

#include <windows.h>

// The system's power policy, read through powrprof.dll, which is loaded once (from the
// system folder only) when the reader is made.
class PowerPolicyReader {
  public:
    PowerPolicyReader();
    PowerPolicyReader(const PowerPolicyReader&) = delete;
    PowerPolicyReader& operator=(const PowerPolicyReader&) = delete;

    // The idle time-out of the active power policy for the current power source, in
    // seconds; false when the status or the policy cannot be read.
    bool queryIdleTimeout(DWORD& seconds) const;

  private:
    using GetPoliciesFn = BOOLEAN(WINAPI*)(PGLOBAL_POWER_POLICY, PPOWER_POLICY);

    LoadedModule powrprof_;
    GetPoliciesFn getCurrentPowerPolicies_ = nullptr;
};
