#include "settings/SettingsRecord.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// A private-profile file in memory, by "Section.Key": missing keys give the caller's default.
using Ini = std::map<std::string, std::string>;

// Into a record that holds `settings` (fields of a missing key take its default).
SettingsRecord Load(const Ini& ini, SettingsRecord settings = {}) {
    LoadSettingsFrom(settings, [&](const std::string& section, const std::string& key, const std::string& def) {
        const auto it = ini.find(section + "." + key);
        return it == ini.end() ? def : it->second;
    });
    return settings;
}

void Save(const SettingsRecord& settings, Ini& ini) {
    SaveSettingsTo(settings, [&](const std::string& section, const std::string& key, const std::string& value) {
        ini[section + "." + key] = value;
    });
}

// Every field away from its default, so a field that loads wrong shows.
const Ini kOwnFile = {
    {"Advanced.PreventHDClicks", "True"}, {"Advanced.ShowRemainingBattIcon", "False"},
    {"Advanced.TimerInterval", "1500"}, {"Advanced.EnableDownscaling", "True"},
    {"Advanced.ShowFullSizeTempIcon", "True"}, {"Advanced.SingleIconMode", "True"},
    {"Advanced.ShowAlerts", "False"},
    {"Colors.TemperatureTextColor", "&HFFFFFFFF"}, {"Colors.TemperatureTextColor2", "&HFF00"},
    {"Colors.BatteryTextColor", "&H123456"}, {"Fan.Control", "1"}, {"Fan.Stop", "45"}, {"Fan.Slow", "55"},
    {"Fan.Auto", "70"}, {"Fan.BatteryControl", "0"}, {"Fan.BatteryStop", "40"}, {"Fan.BatterySlow", "0"},
    {"Fan.BatteryAuto", "-7"}, {"Processor.AC", "0"}, {"Processor.DC", "2"}, {"Special.UseCustomFanValue", "True"},
    {"Special.FanValueOff", "&H1"}, {"Special.FanValueSlow", "&H2"}, {"Special.FanValueAuto", "&HFF"},
    {"Special.FanSlowModeThreshold", "-5"}, {"Special.CustomResolutionWidth", "1280"},
    {"Special.CustomResolutionHeight", "1024"}, {"Special.UseAlternateDriver", "True"},
    {"Special.UseCustomDevice", "True"}, {"Special.CustomDeviceName", "My Cam"},
    {"Special.CustomDeviceID", ""},  // an empty value is not a missing key
};

const SettingsRecord kOwnValues{
    .PreventHDClicks = true, .ShowRemainingBattIcon = false, .TimerInterval = 1500, .EnableDownscaling = true,
    .ShowFullSizeTempIcon = true, .SingleIconMode = true, .ShowAlerts = false, .TemperatureTextColor = -1,
    .TemperatureTextColor2 = 0xFF00, .BatteryTextColor = 0x123456, .Fan = {1, 45, 55, 70, 0, 40, 0, -7}, .Processor = {0, 2},
    .UseCustomFanValue = true, .FanValueOff = 1, .FanValueSlow = 2, .FanValueAuto = 255, .FanSlowModeThreshold = -5,
    .CustomResolutionWidth = 1280, .CustomResolutionHeight = 1024, .UseAlternateDriver = true,
    .UseCustomDevice = true, .CustomDeviceName = "My Cam", .CustomDeviceID = ""};

// An empty file gives the defaults, whatever the record held. Saved, every field but the
// driver choice (only ever read) comes back as it was, &HFF00 (pure green) and -1 too.
TEST(SettingsRecordTest, FileValuesOrDefaultsLoadAndSurviveASave) {
    EXPECT_EQ(Load({}), Load({}, kOwnValues));
    const SettingsRecord loaded = Load(kOwnFile);
    EXPECT_EQ(kOwnValues, loaded);
    Ini saved{{"Special.UseAlternateDriver", "True"}};
    Save(loaded, saved);
    EXPECT_EQ(loaded, Load(saved));
}

// A bad value costs only its own field: it loads as if its key were missing, and every
// field after it still gets the file's value (the next save must not overwrite them).
TEST(SettingsRecordTest, BadValueTakesItsDefaultAndTheLoadGoesOn) {
    const struct { const char* key; const char* text; } cases[] = {
        {"Advanced.TimerInterval", ""}, {"Special.FanValueOff", "&H100"}, {"Advanced.PreventHDClicks", "yes"},
        {"Fan.Stop", "32768"}, {"Colors.BatteryTextColor", "&HG1"}, {"Special.UseAlternateDriver", "1 2"},
        {"Advanced.ShowAlerts", "maybe"}, {"Fan.BatteryControl", "auto"}, {"Fan.BatteryStop", "-32769"},
    };
    for (const auto& c : cases) {
        Ini bad = kOwnFile, missing = kOwnFile;
        bad[c.key] = c.text;
        missing.erase(c.key);
        const SettingsRecord expected = Load(missing);
        EXPECT_NE(kOwnValues, expected) << c.key;  // the default differs from the file's value
        EXPECT_EQ(expected, Load(bad)) << c.key << "=" << c.text;
    }
}

TEST(SettingsRecordTest, BiosVersionFromTheLastSixCharacters) {
    using namespace std::string_literals;
    const struct { std::string Text; int16_t Expected; } cases[] = {
        {"ACRSYS - 1\0V0.3304\0\0"s, 3304}, {"3304\0\0"s, 3304}, {"V1.0 12345"s, 12345}, {"ACRSYS\0BIOS\0\0"s, 0},
        {""s, 0}, {"123456"s, 0}, {"V1.0x12345"s, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(c.Expected, BiosVersionFromText(c.Text)) << c.Text;
}

TEST(SettingsRecordTest, Windows6OrLaterFromTheVersionText) {
    const struct { const char* Text; bool Expected; } cases[] = {
        {"5.1", false}, {"5.99", false}, {"6.0", true}, {"10.0", true}, {"", false}, {" 6", true}};
    for (const auto& c : cases) EXPECT_EQ(c.Expected, IsVersion6OrLater(c.Text)) << c.Text;
}

}  // namespace
