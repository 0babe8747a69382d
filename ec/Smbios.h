#pragma once
// The machine's identity from the firmware's SMBIOS structure table: manufacturer and
// product name from the System Information structure (type 1), BIOS version from the BIOS
// Information structure (type 0), the first of each. The table is the firmware's and may be
// malformed: whatever cannot be read whole and within the bytes given is left empty, which
// makes the identity unknown.
#include "ec/EcModels.h"

#include <cstdint>
#include <span>

namespace Smbios {

// The structure table itself, as WMI's MSSMBios_RawSMBiosTables.SMBiosData gives it.
EcModels::MachineIdentity ReadIdentity(std::span<const uint8_t> table);

// GetSystemFirmwareTable('RSMB') output: an 8-byte header (calling method, major and
// minor version, DMI revision, then the table's length as a little-endian 32-bit number)
// and the table. A length past the bytes given makes the identity unknown.
EcModels::MachineIdentity ReadIdentityFromRawSmbios(std::span<const uint8_t> data);

}  // namespace Smbios
