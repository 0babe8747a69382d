#include "ec/FanPlan.h"

#include <gtest/gtest.h>

using namespace FanPlan;
using EcModels::MachineIdentity;

namespace {
Plan PlanOf(const MachineIdentity& machine) { return PlanFor(EcModels::FindModel(machine)); }
}  // namespace

// The registers and bytes of the model rows are acerhdf's. Custom bytes in every row: off 0x42, slow
// 0x24, auto 0x81. BIOS 3114 and 3305 give different bytes by number, so a row that ignores it shows it.
TEST(FanPlan, RegistersAndBytesOfEachKindOfMachine) {
    const struct {
        MachineIdentity Machine; int16_t Bios; bool Custom;
        uint8_t Temperature, Fan; bool ByModel, ManualOff; uint8_t Off, Slow, Auto;
    } cases[] = {
        {{"Dell", "Inspiron 910", "A04"}, 3305, false, 0x58, 0x55, false, false, 0xAF, 0x10, 0x00},  // no row
        // The Acer AOA110 and AOA150 rows keep the bytes by number, their own Gateway rows do not.
        {{"Acer", "AOA110", "v0.3308"}, 3114, false, 0x58, 0x55, false, false, 0x1F, 0x20, 0x00},
        {{"Acer", "AOA150", "v0.3310"}, 3305, false, 0x58, 0x55, false, false, 0xAF, 0x10, 0x00},
        {{"Gateway", "AOA110", "v0.3103"}, 3114, false, 0x58, 0x55, true, false, 0x21, 0x00, 0x00},
        {{"Acer", "Aspire One 753", "V1.24"}, 3305, false, 0xAC, 0x93, true, true, 0x14, 0x04, 0x04},
        {{"Acer", "Aspire One 753", "V1.24"}, 3305, true, 0xAC, 0x93, true, true, 0x42, 0x24, 0x81},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Machine.Product << " " << c.Bios << (c.Custom ? " custom" : ""));
        const Plan plan = PlanOf(c.Machine);
        EXPECT_EQ(plan.TemperatureRegister, c.Temperature);
        EXPECT_EQ(plan.FanRegister, c.Fan);
        EXPECT_EQ(plan.ByModel, c.ByModel);
        EXPECT_EQ(HasSlow(plan, c.Custom), !c.ByModel || c.Custom);
        EXPECT_EQ(plan.ManualOff, c.ManualOff);
        EXPECT_EQ(OffByte(plan, c.Bios, c.Custom, 0x42), c.Off);
        EXPECT_EQ(SlowByte(plan, c.Bios, c.Custom, 0x24), c.Slow);
        EXPECT_EQ(AutoByte(plan, c.Custom, 0x81), c.Auto);
    }
}

TEST(FanPlan, MachineLineNamesTheMachineAndWhereItsBytesComeFrom) {
    const struct { MachineIdentity Machine; const char* Line; } cases[] = {
        {{"Acer \t", "AO751h  ", "V0.3206 "}, "Acer AO751h, BIOS V0.3206: fan bytes for this model"},
        {{"Dell Inc.", "Inspiron 910", "A04"}, "Dell Inc. Inspiron 910, BIOS A04: fan bytes by BIOS version"},
        {{"  ", "AO751h", "V0.3206"}, "Unknown machine: fan bytes by BIOS version"},
        {{"Acer", "", "V0.3206"}, "Unknown machine: fan bytes by BIOS version"},
        {{"Acer", "AO751h", "\t"}, "Unknown machine: fan bytes by BIOS version"},
    };
    for (const auto& c : cases) EXPECT_EQ(MachineLine(c.Machine, PlanOf(c.Machine)), c.Line);
}
