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

// Rows 29 and 30 are the Aspire 1810TZ and 1810T with BIOS v0.3108, 57 the AO751h with V0.3206.
TEST(EcModels, EachTextStartsTheMachinesCaseSensitiveFirstRowWins) {
    const struct { MachineIdentity Machine; int Row; } cases[] = {
        {{"Acer Inc.", "AO751h-1", "V0.3206 rev 2"}, 57}, {{"Ace", "AO751h", "V0.3206"}, -1},
        {{"Acer", "AO751", "V0.3206"}, -1}, {{"Acer", "AO751h", "V0.320"}, -1}, {{"Acer", "ao751h", "V0.3206"}, -1},
        // "Aspire 1810TZ" starts with the product of both rows.
        {{"Acer", "Aspire 1810TZ", "v0.3108"}, 29}, {{"Acer", "Aspire 1810T", "v0.3108"}, 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Machine.Manufacturer << "/" << c.Machine.Product << "/"
                                        << c.Machine.BiosVersion);
        EXPECT_EQ(FindModel(c.Machine), c.Row < 0 ? nullptr : &Models()[c.Row]);
    }
}
