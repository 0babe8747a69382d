#include "app/TrayArt.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace TrayArt;

TEST(TrayArt, TemperatureHasTwoDigitsAndTheDegreeSign) {
    const struct { uint8_t temperature; const wchar_t* text; } cases[] = {
        {1, L"01\u00B0"}, {5, L"05\u00B0"}, {9, L"09\u00B0"}, {10, L"10\u00B0"}, {45, L"45\u00B0"}, {99, L"99\u00B0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TemperatureText(c.temperature), c.text) << int(c.temperature);
}

TEST(TrayArt, OnlyTheConstantThrottleModeTakesTheSecondColour) {
    const int32_t white = 0x00FFFFFF, green = 0x0040FF60;
    EXPECT_EQ(TemperatureTextColor(0, white, green), green);
    EXPECT_EQ(TemperatureTextColor(1, white, green), white);
    EXPECT_EQ(TemperatureTextColor(2, white, green), white);
}

// On a 32-bit minute count: 1966080 s is past the tooltip's 16-bit one.
TEST(TrayArt, BatteryTimeAsHoursAndMinutes) {
    EXPECT_EQ(BatteryTimeText(1966080), L"546:08");
    EXPECT_EQ(BatteryTimeText(150), L"0:02");  // halves go to the even neighbour
}

TEST(TrayArt, TooltipFieldHoldsUpTo63CharactersAndTheirNul) {
    for (size_t length : {0, 1, 10, 63, 64, 65, 70}) {
        const TipField field = TrayTipField(std::string(length, 'x'));
        const std::string text = std::string(std::min<size_t>(length, 64), 'x') + std::string(length < 64, '\0');
        EXPECT_EQ(std::string(field.begin(), field.end()), text + std::string(64 - text.size(), ' ')) << length;
    }
}
