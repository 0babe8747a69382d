#pragma once
// The machine's identity (SMBIOS system manufacturer, product name and BIOS version),
// from the first source that gives all three: the registry (Windows Vista and later),
// the firmware's table through GetSystemFirmwareTable (absent from 32-bit XP), and
// the same table through WMI (XP).
#include <optional>

#include "ec/EcModels.h"

namespace modSmbios {

EcModels::MachineIdentity IdentityFromRegistry();
// Nothing where Windows lacks the call.
std::optional<EcModels::MachineIdentity> IdentityFromFirmwareTable();
EcModels::MachineIdentity IdentityFromWmi();

// The registry's identity when it is known; else the firmware table's, where Windows
// has the call (WMI would only give the same table again, at the cost of loading WMI
// for good); else WMI's. Unknown when the source asked knows nothing.
EcModels::MachineIdentity ReadMachineIdentity();

}  // namespace modSmbios
