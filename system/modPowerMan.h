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

// Sends the mode for the power source in use, stores it in the settings and saves them.
void SetThrottleMode(int32_t mode);

// Sends both modes and stores them in the settings (without saving them).
void ApplyThrottleModes(int32_t mainsMode, int32_t batteryMode);

// Creates and activates the scheme, then applies the modes of the settings.
void CreatePowerScheme();

}  // namespace modPowerMan
