#pragma once
// The machine's identity (SMBIOS system manufacturer, product name and BIOS version),
// from the first source that gives all three: the registry (Windows Vista and later),
// the firmware's table through GetSystemFirmwareTable (absent from 32-bit XP), and
// the same table through WMI (XP).
#include "ec/EcModels.h"

namespace modSmbios {

EcModels::MachineIdentity IdentityFromRegistry();
EcModels::MachineIdentity IdentityFromFirmwareTable();
EcModels::MachineIdentity IdentityFromWmi();

// The first of the three that is known; unknown when none is.
EcModels::MachineIdentity ReadMachineIdentity();

}  // namespace modSmbios
