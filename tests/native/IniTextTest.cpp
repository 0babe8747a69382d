#include "settings/IniText.h"

#include <gtest/gtest.h>

#include "settings/SettingsRecord.h"

namespace {

// Stop=45 into [Fan]. A value replaced among its neighbours, a missing key before the
// blank line that ends its section and missing sections after the last are in the
// user's file below; an empty text in the file written from nothing.
TEST(IniTextTest, SetValueEditsOnlyTheKeysLineOrAddsIt) {
    const struct { const char* what; std::string before, after; } cases[] = {
        {"names in any case and blanks", "  [ fan ] ; mine\r\n  STOP  =  40 \r\n", "  [ fan ] ; mine\r\nStop=45\r\n"},
        {"LF line ends kept", "[Fan]\nStop=40\nSlow=60\n", "[Fan]\nStop=45\nSlow=60\n"},
        {"comments and look-alikes are not the key", "[Fan]\r\n;Stop=30\r\nStopped=1\r\nStop\r\nStop=40\r\n",
         "[Fan]\r\n;Stop=30\r\nStopped=1\r\nStop\r\nStop=45\r\n"},
        {"the key of another section is not taken", "[Special]\r\nStop=1\r\n[Fan]\r\nStop=40\r\n",
         "[Special]\r\nStop=1\r\n[Fan]\r\nStop=45\r\n"},
        {"first section and first key of a name", "[Fan]\r\nStop=40\r\nStop=41\r\n[FAN]\r\nStop=42\r\n",
         "[Fan]\r\nStop=45\r\nStop=41\r\n[FAN]\r\nStop=42\r\n"},
        {"missing key in a section with no lines", "[Fan]\r\n[Special]\r\n", "[Fan]\r\nStop=45\r\n[Special]\r\n"},
        {"missing key, last line unterminated", "[Fan]\r\nControl=1", "[Fan]\r\nControl=1\r\nStop=45\r\n"},
        {"missing section, last line unterminated", ";", ";\r\n[Fan]\r\nStop=45\r\n"},
    };
    for (const auto& c : cases) {
        std::string text = c.before;
        IniText::SetValue(text, "Fan", "Stop", "45");
        EXPECT_EQ(c.after, text) << c.what;
    }
}

// A file written from nothing: 30 keys, sections in the save order, no blank lines. In a
// user's file the notes and a section of their own survive; the program's keys take the
// record's values where they stand, the missing ones join their section or follow.
TEST(IniTextTest, SettingsSavedIntoNothingOrIntoAUsersFile) {
    SettingsRecord settings;
    LoadSettingsFrom(settings, [](const std::string&, const std::string&, const std::string& def) { return def; });
    EXPECT_EQ(WithSettings("", settings),
              "[Advanced]\r\nPreventHDClicks=False\r\nShowRemainingBattIcon=True\r\nTimerInterval=3000\r\n"
              "EnableDownscaling=False\r\nShowFullSizeTempIcon=False\r\nSingleIconMode=False\r\nShowAlerts=True\r\n"
              "[Fan]\r\nControl=3\r\nStop=50\r\nSlow=60\r\nAuto=65\r\nBatteryControl=-1\r\nBatteryStop=-1\r\n"
              "BatterySlow=-1\r\nBatteryAuto=-1\r\n[Processor]\r\nAC=1\r\nDC=0\r\n"
              "[Colors]\r\nTemperatureTextColor=&HFFFFFF\r\nTemperatureTextColor2=&H40FF60\r\nBatteryTextColor=&H0\r\n"
              "[Special]\r\nUseCustomFanValue=False\r\nFanValueOff=&HAF\r\nFanValueSlow=&H10\r\nFanValueAuto=&H0\r\n"
              "FanSlowModeThreshold=42\r\nCustomResolutionWidth=1024\r\nCustomResolutionHeight=768\r\n"
              "UseCustomDevice=False\r\nCustomDeviceName=MyDevice\r\nCustomDeviceID=USB\\VID_1BCF*\r\n");

    settings.Fan.Control = 0;
    const std::string after =
        WithSettings("; my notes\r\n[Fan]\r\nStop=  40 \r\nControl=1\r\n\r\n[Mine]\r\nColour=blue\r\n", settings);
    EXPECT_EQ(0u, after.find("; my notes\r\n[Fan]\r\nStop=50\r\nControl=0\r\nSlow=60\r\nAuto=65\r\nBatteryControl=-1\r\n"
                             "BatteryStop=-1\r\nBatterySlow=-1\r\nBatteryAuto=-1\r\n\r\n"
                             "[Mine]\r\nColour=blue\r\n[Advanced]\r\nPreventHDClicks=False\r\n")) << after;
    EXPECT_EQ(after, WithSettings(after, settings));  // saving again changes nothing
}

}  // namespace
