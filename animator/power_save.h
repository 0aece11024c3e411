#pragma once
#include "settings/catalogue.h"

#include <windows.h>
#include <cstdint>
#include <powrprof.h>

// Whether the Scene is to save power after elapsedMs of main-loop time, given the idle
// time-out of the power policy (seconds) and the catalogue's share and cap: on once
// elapsed passes timeout x multiplier / divisor or the maximum (0: no maximum); always off
// when the time-out is 0. The settings are taken as unsigned 32-bit values.
bool powerSaveDue(std::uint32_t idleTimeoutSeconds, std::uint64_t elapsedMs,
                  const PowerSaveSettings& settings);

// The idle time-out (seconds) that a power policy sets for the power source: the user's
// idle time-out, or the machine's hibernate time-out where that is 0. An AC line status of
// 0 means battery; anything else (255: not reported) counts as mains power.
DWORD idleTimeoutForPowerSource(BYTE acLineStatus, const POWER_POLICY& policy);
