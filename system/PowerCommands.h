#pragma once
// The powercfg command lines of CPU throttling and the choice of the power source
// they address. No OS calls, so they are tested natively.
#include <cstdint>
#include <string>

#include "system/PowerStatus.h"

namespace modPowerMan {

enum class PowerSource { Mains, Battery };

// 0 "constant", 1 "adaptive", 2 "none"; any other mode has no keyword.
std::string ThrottleModeName(int32_t mode);

// Any ACLineStatus but 0, also 255 (unknown), counts as mains power.
PowerSource SourceInUse(const PowerStatusRecord& status);

std::string CreateSchemeCommand();
std::string ActivateSchemeCommand();

// The throttling line of one power source; a mode without keyword leaves the line
// ending in the space after "ac" or "dc".
std::string ThrottleCommand(PowerSource source, int32_t mode);

}  // namespace modPowerMan
