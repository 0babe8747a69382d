#include "ec/EcModels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace EcModels;

// No row is hidden behind an earlier one: each is the match of its own texts. And each is of one
// of three EC designs: registers, auto byte and extra off write come as a set, off bytes from a few.
TEST(EcModels, EveryRowIsFoundByItsOwnTextsAndIsOfAKnownDesign) {
    const struct { uint8_t Fan; std::set<uint8_t> Temperatures, Offs; uint8_t Auto; bool ManualOff; } designs[] = {
        {0x55, {0x58}, {0x1F, 0x20, 0x21, 0x9E, 0xAF}, 0x00, false},
        {0x93, {0xA8, 0xAC}, {0x14}, 0x04, true},
        {0xAB, {0xB3, 0xB4}, {0x00}, 0x08, false},
    };
    ASSERT_EQ(Models().size(), 93u);
    for (const EcModel& row : Models()) {
        SCOPED_TRACE(testing::Message() << row.Vendor << "/" << row.Product << "/" << row.BiosVersion);
        EXPECT_TRUE(*row.Vendor && *row.Product && *row.BiosVersion);
        EXPECT_EQ(FindModel({row.Vendor, row.Product, row.BiosVersion}), &row);
        EXPECT_TRUE(std::ranges::any_of(designs, [&row](const auto& d) {
            return row.FanRegister == d.Fan && d.Temperatures.contains(row.TemperatureRegister) &&
                   d.Offs.contains(row.OffByte) && row.AutoByte == d.Auto && row.ManualOff == d.ManualOff;
        }));
    }
}

// Rows of the table by number: 0 Acer AOA110 v0.3109, 29 and 30 Aspire 1810TZ and 1810T v0.3108,
// 52 Aspire 5755G V1.21, 57 AO751h V0.3206, 59 Aspire One 753 V1.24, 66 Aspire 7551 V1.18,
// 92 Packard Bell DOTVR46 v1.3308.
TEST(EcModels, EachTextStartsTheMachinesCaseSensitiveFirstRowWins) {
    const struct { MachineIdentity Machine; int Row; } cases[] = {
        {{"Acer", "AO751h", "V0.3206"}, 57}, {{"Acer Inc.", "AO751h-1", "V0.3206 rev 2"}, 57},
        {{"Ace", "AO751h", "V0.3206"}, -1}, {{"Acer", "AO751", "V0.3206"}, -1}, {{"Acer", "AO751h", "V0.320"}, -1},
        {{"acer", "AO751h", "V0.3206"}, -1}, {{"Acer", "ao751h", "V0.3206"}, -1}, {{"Acer", "AO751h", "v0.3206"}, -1},
        {{" Acer", "AO751h", "V0.3206"}, -1}, {{"", "AO751h", "V0.3206"}, -1}, {{"Acer", "AO751h", ""}, -1},
        {{"Acer", "AOA110", "v0.3109"}, 0}, {{"Packard Bell", "DOTVR46", "v1.3308"}, 92},
        {{"Acer", "Aspire One 753", "V1.24"}, 59},
        // "Aspire 1810TZ" starts with the products of rows 29 and 30 alike.
        {{"Acer", "Aspire 1810TZ", "v0.3108"}, 29}, {{"Acer", "Aspire 1810T", "v0.3108"}, 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Machine.Manufacturer << "/" << c.Machine.Product << "/"
                                        << c.Machine.BiosVersion);
        EXPECT_EQ(FindModel(c.Machine), c.Row < 0 ? nullptr : &Models()[c.Row]);
    }
}

// Registers and bytes as Linux's acerhdf 0.7.0 lists them.
TEST(EcModels, RowsCarryTheirRegistersAndBytes) {
    const struct { int Row; uint8_t Fan, Temperature, Off, Auto; bool ManualOff; } cases[] = {
        {0, 0x55, 0x58, 0x1F, 0x00, false},  {57, 0x55, 0x58, 0x21, 0x00, false}, {59, 0x93, 0xAC, 0x14, 0x04, true},
        {52, 0xAB, 0xB3, 0x00, 0x08, false}, {66, 0x93, 0xA8, 0x14, 0x04, true},  {92, 0x55, 0x58, 0x9E, 0x00, false},
    };
    for (const auto& c : cases) {
        const EcModel& row = Models()[c.Row];
        SCOPED_TRACE(testing::Message() << row.Product << " " << row.BiosVersion);
        EXPECT_EQ(row.FanRegister, c.Fan);
        EXPECT_EQ(row.TemperatureRegister, c.Temperature);
        EXPECT_EQ(row.OffByte, c.Off);
        EXPECT_EQ(row.AutoByte, c.Auto);
        EXPECT_EQ(row.ManualOff, c.ManualOff);
    }
}

TEST(EcModels, KnownWhenEveryFieldHoldsMoreThanBlanks) {
    const struct { MachineIdentity Machine; bool Known; } cases[] = {
        {{"Acer", "AO751h", "V0.3206"}, true}, {{"Acer ", "x", "1\t"}, true}, {{"", "AO751h", "V0.3206"}, false},
        {{"Acer", "", "V0.3206"}, false},      {{"Acer", "AO751h", ""}, false}, {{"Acer", " \t ", "V0.3206"}, false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.Machine.Known(), c.Known) << c.Machine.Product << "/" << c.Machine.BiosVersion;
}
