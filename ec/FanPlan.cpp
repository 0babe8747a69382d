#include "ec/FanPlan.h"

#include "ec/FanBytes.h"

#include <string_view>

namespace FanPlan {

Plan PlanFor(const EcModels::EcModel* model) {
    if (!model)
        return {};
    const std::string_view vendor = model->Vendor, product = model->Product;
    if (vendor == "Acer" && (product == "AOA110" || product == "AOA150"))
        return {};
    return {.TemperatureRegister = model->TemperatureRegister, .FanRegister = model->FanRegister, .ByModel = true,
            .OffByte = model->OffByte, .AutoByte = model->AutoByte, .ManualOff = model->ManualOff};
}

bool HasSlow(const Plan& plan, bool useCustom) { return !plan.ByModel || useCustom; }

uint8_t OffByte(const Plan& plan, int16_t biosVersion, bool useCustom, uint8_t customOff) {
    if (!plan.ByModel)
        return FanBytes::FanOffByte(biosVersion, useCustom, customOff);
    return useCustom ? customOff : plan.OffByte;
}

uint8_t SlowByte(const Plan& plan, int16_t biosVersion, bool useCustom, uint8_t customSlow) {
    if (!plan.ByModel)
        return FanBytes::FanSlowByte(biosVersion, useCustom, customSlow);
    return useCustom ? customSlow : plan.AutoByte;
}

uint8_t AutoByte(const Plan& plan, bool useCustom, uint8_t customAuto) {
    if (!plan.ByModel)
        return FanBytes::FanAutoByte(useCustom, customAuto);
    return useCustom ? customAuto : plan.AutoByte;
}

std::string MachineLine(const EcModels::MachineIdentity& machine, const Plan& plan) {
    const char* source = plan.ByModel ? "fan bytes for this model" : "fan bytes by BIOS version";
    if (!machine.Known())
        return std::string("Unknown machine: ") + source;
    using EcModels::WithoutTrailingBlanks;
    std::string line(WithoutTrailingBlanks(machine.Manufacturer));
    line.append(" ").append(WithoutTrailingBlanks(machine.Product));
    line.append(", BIOS ").append(WithoutTrailingBlanks(machine.BiosVersion));
    return line.append(": ").append(source);
}

}  // namespace FanPlan
