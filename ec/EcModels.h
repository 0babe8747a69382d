#pragma once
// The machines whose EC registers and fan bytes are known by model: Acer, Gateway and
// Packard Bell netbooks and notebooks, each row keyed by the SMBIOS system manufacturer,
// product name and BIOS version, as Linux's acerhdf 0.7.0 knows them.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace EcModels {

// SMBIOS system manufacturer, product name and BIOS version.
struct MachineIdentity {
    std::string Manufacturer, Product, BiosVersion;
    bool Known() const;  // all three hold more than blanks
};

struct EcModel {
    const char* Vendor;
    const char* Product;
    const char* BiosVersion;
    uint8_t FanRegister, TemperatureRegister, OffByte, AutoByte;
    bool ManualOff;  // after the off byte, ManualOffByte also goes to ManualOffRegister
};

inline constexpr uint8_t ManualOffRegister = 0x94, ManualOffByte = 0xFF;

std::span<const EcModel> Models();  // the whole table, in order

// The first row whose three texts each start the machine's (case-sensitive); nullptr
// when none does. No row's text is empty, so an identity that is not known matches none.
const EcModel* FindModel(const MachineIdentity& machine);

// Firmware pads its texts with blanks (spaces, tabs); this is the text without them.
std::string_view WithoutTrailingBlanks(std::string_view text);

}  // namespace EcModels
