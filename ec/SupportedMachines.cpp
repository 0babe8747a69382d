#include "ec/SupportedMachines.h"

#include "ec/FanBytes.h"
#include "ec/FanPlan.h"
#include "system/Conversion.h"

#include <cstdio>
#include <string_view>

namespace SupportedMachines {

namespace {

std::string Hex(uint8_t value) {
    char text[5];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

int16_t BiosNumber(std::string_view version) {
    return Conversion::ToInt16(version.substr(version.rfind('.') + 1)).value_or(0);
}

void AddDifference(std::string& text, const EcModels::EcModel& row, const char* mode, uint8_t theirs, uint8_t ours) {
    if (theirs == ours)
        return;
    text.append("- ").append(row.Product).append(" BIOS ").append(row.BiosVersion).append(": acerhdf writes ");
    text.append(Hex(theirs)).append(" for ").append(mode).append(", vantu ").append(Hex(ours)).append("\n");
}

}  // namespace

std::string Markdown(std::span<const EcModels::EcModel> rows) {
    std::string text = "| Manufacturer | Product | BIOS version (prefix) | Fan register | Temperature register "
                       "| Off byte | Auto byte | Extra off write |\n"
                       "|---|---|---|---|---|---|---|---|\n";
    for (const EcModels::EcModel& row : rows) {
        text.append("| ").append(row.Vendor).append(" | ").append(row.Product).append(" | ").append(row.BiosVersion);
        for (uint8_t value : {row.FanRegister, row.TemperatureRegister, row.OffByte, row.AutoByte})
            text.append(" | ").append(Hex(value));
        text.append(" | ");
        if (row.ManualOff)
            text.append(Hex(EcModels::ManualOffByte)).append(" to ").append(Hex(EcModels::ManualOffRegister));
        text.append(" |\n");
    }
    return text;
}

std::string BiosNumberDifferences(std::span<const EcModels::EcModel> rows) {
    std::string text;
    for (const EcModels::EcModel& row : rows) {
        if (FanPlan::PlanFor(&row).ByModel)
            continue;  // the program writes this row's bytes as they are
        AddDifference(text, row, "off", row.OffByte, FanBytes::FanOffByte(BiosNumber(row.BiosVersion), false, 0));
        AddDifference(text, row, "auto", row.AutoByte, FanBytes::FanAutoByte(false, 0));
    }
    return text;
}

}  // namespace SupportedMachines
