#include "animator/power_save.h"

bool powerSaveDue(std::uint32_t idleTimeoutSeconds, std::uint64_t elapsedMs,
                  const PowerSaveSettings& settings) {
    if (idleTimeoutSeconds == 0)
        return false;
    const auto maximum = static_cast<std::uint32_t>(settings.maximumSeconds);
    if (maximum != 0 && elapsedMs > static_cast<std::uint64_t>(maximum) * 1000)
        return true;
    // Full 64-bit product: a large time-out times a large multiplier must not wrap.
    std::uint64_t limit = static_cast<std::uint64_t>(idleTimeoutSeconds) *
                          static_cast<std::uint32_t>(settings.multiplier) * 1000 /
                          static_cast<std::uint32_t>(settings.divisor);
    return elapsedMs > limit;
}

DWORD idleTimeoutForPowerSource(BYTE acLineStatus, const POWER_POLICY& policy) {
    if (acLineStatus != 0) {
        return policy.user.IdleTimeoutAc != 0 ? policy.user.IdleTimeoutAc
                                              : policy.mach.DozeS4TimeoutAc;
    }
    return policy.user.IdleTimeoutDc != 0 ? policy.user.IdleTimeoutDc : policy.mach.DozeS4TimeoutDc;
}
