#pragma once
// Which EC registers the program reads and writes, and which byte each fan mode writes,
// once the machine is known: a model row's own registers and bytes, or the registers and
// BIOS-number bytes of the Aspire One the program was first written for.
#include "ec/EcModels.h"

#include <cstdint>
#include <string>

namespace FanPlan {

struct Plan {
    uint8_t TemperatureRegister = 0x58, FanRegister = 0x55;
    bool ByModel = false;               // bytes from the matched row rather than by BIOS version number
    uint8_t OffByte = 0, AutoByte = 0;  // the row's, when ByModel
    bool ManualOff = false;             // the row's: the extra write after the off byte
};

// What chooses the bytes beside the plan: the BIOS version number (for the bytes by
// number) and the user's own bytes, when the user wants them.
struct ByteChoice {
    int16_t BiosVersion = 0;
    bool UseCustom = false;
    uint8_t Off = 0, Slow = 0, Auto = 0;
};

// Whether the fan can be set slow: by the BIOS-number bytes, or by custom bytes (a
// model row's EC knows no slow byte of its own).
bool HasSlow(const Plan& plan, bool useCustom);

// The default plan for no row (unknown or unlisted machine) and for the Acer AOA110 and
// AOA150 rows, whose BIOS-number bytes have served their users; else the row's plan.
Plan PlanFor(const EcModels::EcModel* model);

// The byte each fan mode writes. Custom bytes replace the plan's bytes, never its registers.
uint8_t OffByte(const Plan& plan, int16_t biosVersion, bool useCustom, uint8_t customOff);
// Without a slow byte of its own, a model row's slow is the EC's own control: its auto byte.
uint8_t SlowByte(const Plan& plan, int16_t biosVersion, bool useCustom, uint8_t customSlow);
uint8_t AutoByte(const Plan& plan, bool useCustom, uint8_t customAuto);

// The About box's line naming the machine and where its fan bytes come from, e.g.
// "Acer AO751h, BIOS V0.3206: fan bytes for this model".
std::string MachineLine(const EcModels::MachineIdentity& machine, const Plan& plan);

}  // namespace FanPlan
