#pragma once
// Power status and CPU throttling: the platform's power status record, kept fresh on
// request, and the throttling modes for mains and battery power, sent to a power
// scheme of our own through powercfg. ThrottleModeName comes with PowerCommands.h.
#include <windows.h>

#include <cstdint>

#include "system/PowerCommands.h"
#include "system/PowerStatus.h"

namespace modPowerMan {

// The platform's power status now, one call of it; when the call fails, what the last
// good one said (before any: the AC line status unknown, which counts as the AC line).
PowerStatusRecord ReadPowerStatus();
// The call ReadPowerStatus makes: GetSystemPowerStatus. In-process tests replace it.
extern BOOL(WINAPI* SystemPowerStatus)(LPSYSTEM_POWER_STATUS);

// The mode last sent for a power source.
int32_t ThrottleModeFor(PowerSource source);

// Sends the mode for the power source in use, and gives that source: the caller keeps
// the mode in its settings.
PowerSource SetThrottleMode(int32_t mode);

// Sends both modes.
void ApplyThrottleModes(int32_t mainsMode, int32_t batteryMode);

// Creates and activates the scheme, then applies the modes.
void CreatePowerScheme(int32_t mainsMode, int32_t batteryMode);

}  // namespace modPowerMan
