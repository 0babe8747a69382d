// The machine's identity from Wine's real registry and firmware table: the registry's
// values when they name the machine, else the table Wine builds from the firmware's
// strings (the test bed's). The table's decoding is the native tests'.
#include "system/modSmbios.h"

#include <gtest/gtest.h>

#include "support/FakeMachine.h"

namespace {

std::string Text(const EcModels::MachineIdentity& machine) {
    return machine.Manufacturer + "|" + machine.Product + "|" + machine.BiosVersion;
}

TEST(modSmbios, TheFirstSourceThatKnowsTheMachineNamesIt) {
    {
        const SeededMachine none("", "", "");
        EXPECT_EQ(Text(modSmbios::ReadMachineIdentity()), "||") << "no source knows the machine";
        const FirmwareIdentity firmware("Acer", "AO751h", "V0.3206");
        EXPECT_EQ(Text(modSmbios::IdentityFromFirmwareTable().value()), "Acer|AO751h|V0.3206");
        EXPECT_EQ(Text(modSmbios::ReadMachineIdentity()), "Acer|AO751h|V0.3206");
        const SeededMachine halfKnown("Gateway", "", "v1.3307");
        EXPECT_EQ(Text(modSmbios::ReadMachineIdentity()), "Acer|AO751h|V0.3206");
    }
    const FirmwareIdentity firmware("Acer", "AO751h", "V0.3206");
    const SeededMachine registry("Gateway", "LT31", "v1.3307");
    EXPECT_EQ(Text(modSmbios::ReadMachineIdentity()), "Gateway|LT31|v1.3307");
}

}  // namespace
