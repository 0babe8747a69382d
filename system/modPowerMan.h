#pragma once
// Power status and CPU throttling: the platform's power status record, kept fresh on
// request, and the throttling modes for mains and battery power, sent to a power
// scheme of our own through powercfg. ThrottleModeName comes with PowerCommands.h.
#include <cstdint>

#include "system/PowerCommands.h"
#include "system/PowerStatus.h"

namespace modPowerMan {

// The record as UpdatePowerStatus last read it.
const PowerStatusRecord& PowerStatus();
void UpdatePowerStatus();

// Refreshes the power status, then returns the mode last sent for the source in use.
int32_t CurrentThrottleMode();

// Sends the mode for the power source in use, and gives that source: the caller keeps
// the mode in its settings.
PowerSource SetThrottleMode(int32_t mode);

// Sends both modes.
void ApplyThrottleModes(int32_t mainsMode, int32_t batteryMode);

// Creates and activates the scheme, then applies the modes.
void CreatePowerScheme(int32_t mainsMode, int32_t batteryMode);

}  // namespace modPowerMan
