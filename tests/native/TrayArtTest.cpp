#include "app/TrayArt.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace TrayArt;

// One digit gets a leading zero, two do not.
TEST(TrayArt, TemperatureHasTwoDigitsAndTheDegreeSign) {
    EXPECT_EQ(TemperatureText(9), L"09\u00B0");
    EXPECT_EQ(TemperatureText(10), L"10\u00B0");
}

// Only the constant throttle mode (0) takes the second colour. Full-size digits on a light taskbar: a
// colour at its own default turns dark, any other stays as the user chose it, the other setting's default too.
TEST(TrayArt, ColourByThrottleModeAndTaskbar) {
    const int32_t white = 0xFFFFFF, green = 0x40FF60, red = 0x0000FF;
    const struct { int32_t mode, text, constant; bool dark; int32_t color; } cases[] = {
        {1, white, green, true, 0x000000}, {0, white, green, true, 0x008000}, {1, white, green, false, white},
        {0, white, green, false, green},   {1, red, green, true, red},          {0, white, red, true, red},
        {1, green, white, true, green},    {0, green, white, true, white},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TemperatureTextColor(c.mode, c.text, c.constant, c.dark), c.color)
            << c.mode << " " << std::hex << c.text << " " << c.constant << " " << c.dark;
}

// On a 32-bit minute count: 1966080 s is past the tooltip's 16-bit one.
TEST(TrayArt, BatteryTimeAsHoursAndMinutes) {
    EXPECT_EQ(BatteryTimeText(1966080), L"546:08");
}

TEST(TrayArt, TooltipFieldHoldsUpTo63CharactersAndTheirNul) {
    for (size_t length : {0, 1, 10, 63, 64, 65, 70}) {
        const TipField field = TrayTipField(std::string(length, 'x'));
        const std::string text = std::string(std::min<size_t>(length, 64), 'x') + std::string(length < 64, '\0');
        EXPECT_EQ(std::string(field.begin(), field.end()), text + std::string(64 - text.size(), ' ')) << length;
    }
}
