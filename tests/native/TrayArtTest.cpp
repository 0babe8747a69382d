#include "app/TrayArt.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "settings/SettingsRecord.h"

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

// Full-size digits on a light taskbar: a colour at its own default turns dark, any
// other stays as the user chose it, the other setting's default too.
TEST(TrayArt, DefaultColoursTurnDarkOnALightTaskbar) {
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

// The defaults compared with are the ones a missing key loads as.
TEST(TrayArt, DefaultColoursAreTheSettingsDefaults) {
    SettingsRecord settings;
    LoadSettingsFrom(settings, [](const std::string&, const std::string&, const std::string& def) { return def; });
    EXPECT_EQ(settings.TemperatureTextColor, DefaultTextColor);
    EXPECT_EQ(settings.TemperatureTextColor2, DefaultTextColorConstant);
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
