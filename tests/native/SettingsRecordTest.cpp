#include "settings/SettingsRecord.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Entry = std::tuple<std::string, std::string, std::string>;  // section, key, text

// A private-profile file in memory: missing keys give the caller's default, every
// read and write is recorded.
struct FakeIni {
    std::map<std::pair<std::string, std::string>, std::string> Values;
    std::vector<Entry> Reads;  // text is the default handed in
    std::vector<Entry> Writes;

    IniReader Reader() {
        return [this](const std::string& section, const std::string& key, const std::string& def) {
            Reads.emplace_back(section, key, def);
            const auto it = Values.find({section, key});
            return it == Values.end() ? def : it->second;
        };
    }
    IniWriter Writer() {
        return [this](const std::string& section, const std::string& key, const std::string& value) {
            Writes.emplace_back(section, key, value);
            Values[{section, key}] = value;
        };
    }
};

SettingsRecord LoadFrom(FakeIni& ini) {
    SettingsRecord settings;
    LoadSettingsFrom(settings, ini.Reader());
    return settings;
}

SettingsRecord DefaultRecord() {
    FakeIni empty;
    return LoadFrom(empty);
}

// Every field away from its default, so a field that loads wrong shows.
FakeIni FileWithOwnValues() {
    FakeIni ini;
    ini.Values = {
        {{"Advanced", "PreventHDClicks"}, "True"},   {{"Advanced", "ShowRemainingBattIcon"}, "False"},
        {{"Advanced", "TimerInterval"}, "1500"},     {{"Advanced", "EnableDownscaling"}, "True"},
        {{"Advanced", "ShowFullSizeTempIcon"}, "True"}, {{"Advanced", "SingleIconMode"}, "True"},
        {{"Colors", "TemperatureTextColor"}, "&HFF"}, {{"Colors", "TemperatureTextColor2"}, "&H10000"},
        {{"Colors", "BatteryTextColor"}, "&H123456"}, {{"Fan", "Control"}, "1"},
        {{"Fan", "Stop"}, "45"},                     {{"Fan", "Slow"}, "55"},
        {{"Fan", "Auto"}, "70"},                     {{"Processor", "AC"}, "0"},
        {{"Processor", "DC"}, "2"},                  {{"Special", "UseCustomFanValue"}, "True"},
        {{"Special", "FanValueOff"}, "&H1"},         {{"Special", "FanValueSlow"}, "&H2"},
        {{"Special", "FanValueAuto"}, "&HFF"},       {{"Special", "FanSlowModeThreshold"}, "-5"},
        {{"Special", "CustomResolutionWidth"}, "1280"}, {{"Special", "CustomResolutionHeight"}, "1024"},
        {{"Special", "UseAlternateDriver"}, "True"}, {{"Special", "UseCustomDevice"}, "True"},
        {{"Special", "CustomDeviceName"}, "My Cam"}, {{"Special", "CustomDeviceID"}, "PCI\\VEN_8086*"},
    };
    return ini;
}

SettingsRecord OwnValuesRecord() {
    SettingsRecord s;
    s.PreventHDClicks = true;
    s.ShowRemainingBattIcon = false;
    s.TimerInterval = 1500;
    s.EnableDownscaling = s.ShowFullSizeTempIcon = s.SingleIconMode = true;
    s.TemperatureTextColor = 0xFF;
    s.TemperatureTextColor2 = 0x10000;
    s.BatteryTextColor = 0x123456;
    s.Fan = {1, 45, 55, 70};
    s.Processor = {0, 2};
    s.UseCustomFanValue = true;
    s.FanValueOff = 1;
    s.FanValueSlow = 2;
    s.FanValueAuto = 255;
    s.FanSlowModeThreshold = -5;
    s.CustomResolutionWidth = 1280;
    s.CustomResolutionHeight = 1024;
    s.UseAlternateDriver = s.UseCustomDevice = true;
    s.CustomDeviceName = "My Cam";
    s.CustomDeviceID = "PCI\\VEN_8086*";
    return s;
}

TEST(SettingsRecordTest, EmptyFileGivesTheDefaults) {
    SettingsRecord expected;
    expected.ShowRemainingBattIcon = true;
    expected.TimerInterval = 3000;
    expected.TemperatureTextColor = 16777215;
    expected.TemperatureTextColor2 = 4259680;
    expected.Fan = {3, 50, 60, 65};
    expected.Processor = {1, 0};
    expected.FanValueOff = 175;
    expected.FanValueSlow = 16;
    expected.FanSlowModeThreshold = 42;
    expected.CustomResolutionWidth = 1024;
    expected.CustomResolutionHeight = 768;
    expected.CustomDeviceName = "MyDevice";
    expected.CustomDeviceID = "USB\\VID_1BCF*";
    EXPECT_EQ(expected, DefaultRecord());
}

TEST(SettingsRecordTest, ReadsInTableOrderWithDecimalDefaults) {
    FakeIni ini;
    LoadFrom(ini);
    const std::vector<Entry> expected = {
        {"Advanced", "PreventHDClicks", "False"}, {"Advanced", "ShowRemainingBattIcon", "True"},
        {"Advanced", "TimerInterval", "3000"}, {"Advanced", "EnableDownscaling", "False"},
        {"Advanced", "ShowFullSizeTempIcon", "False"}, {"Advanced", "SingleIconMode", "False"},
        {"Colors", "TemperatureTextColor", "16777215"}, {"Colors", "TemperatureTextColor2", "4259680"},
        {"Colors", "BatteryTextColor", "0"}, {"Fan", "Control", "3"}, {"Fan", "Stop", "50"},
        {"Fan", "Slow", "60"}, {"Fan", "Auto", "65"}, {"Processor", "AC", "1"},
        {"Processor", "DC", "0"}, {"Special", "UseCustomFanValue", "False"},
        {"Special", "FanValueOff", "175"}, {"Special", "FanValueSlow", "16"},
        {"Special", "FanValueAuto", "0"}, {"Special", "FanSlowModeThreshold", "42"},
        {"Special", "CustomResolutionWidth", "1024"}, {"Special", "CustomResolutionHeight", "768"},
        {"Special", "UseAlternateDriver", "False"}, {"Special", "UseCustomDevice", "False"},
        {"Special", "CustomDeviceName", "MyDevice"}, {"Special", "CustomDeviceID", "USB\\VID_1BCF*"},
    };
    EXPECT_EQ(expected, ini.Reads);
}

TEST(SettingsRecordTest, DefaultsSaveAs25KeysInOrderAndForm) {
    FakeIni ini;
    SaveSettingsTo(DefaultRecord(), ini.Writer());
    const std::vector<Entry> expected = {
        {"Advanced", "PreventHDClicks", "False"}, {"Advanced", "ShowRemainingBattIcon", "True"},
        {"Advanced", "TimerInterval", "3000"}, {"Advanced", "EnableDownscaling", "False"},
        {"Advanced", "ShowFullSizeTempIcon", "False"}, {"Advanced", "SingleIconMode", "False"},
        {"Fan", "Control", "3"}, {"Fan", "Stop", "50"}, {"Fan", "Slow", "60"}, {"Fan", "Auto", "65"},
        {"Processor", "AC", "1"}, {"Processor", "DC", "0"},
        {"Colors", "TemperatureTextColor", "&HFFFFFF"}, {"Colors", "TemperatureTextColor2", "&H40FF60"},
        {"Colors", "BatteryTextColor", "&H0"}, {"Special", "UseCustomFanValue", "False"},
        {"Special", "FanValueOff", "&HAF"}, {"Special", "FanValueSlow", "&H10"},
        {"Special", "FanValueAuto", "&H0"}, {"Special", "FanSlowModeThreshold", "42"},
        {"Special", "CustomResolutionWidth", "1024"}, {"Special", "CustomResolutionHeight", "768"},
        {"Special", "UseCustomDevice", "False"}, {"Special", "CustomDeviceName", "MyDevice"},
        {"Special", "CustomDeviceID", "USB\\VID_1BCF*"},
    };
    EXPECT_EQ(expected, ini.Writes);
}

TEST(SettingsRecordTest, FileValuesLoadAndSurviveASave) {
    FakeIni ini = FileWithOwnValues();
    const SettingsRecord loaded = LoadFrom(ini);
    EXPECT_EQ(OwnValuesRecord(), loaded);

    SaveSettingsTo(loaded, ini.Writer());
    EXPECT_EQ(loaded, LoadFrom(ini));
    EXPECT_EQ("True", (ini.Values[{"Special", "UseAlternateDriver"}]));
}

TEST(SettingsRecordTest, SaveWritesNegativeAndWideValuesSoTheyReadBack) {
    SettingsRecord s = DefaultRecord();
    s.TimerInterval = -12;
    s.Fan.Stop = -32768;
    s.TemperatureTextColor = -1;
    s.TemperatureTextColor2 = 0xFF00;  // pure green: four hex digits, still positive
    s.BatteryTextColor = 0x10000;
    s.CustomDeviceName = "  padded name  ";
    FakeIni ini;
    SaveSettingsTo(s, ini.Writer());
    EXPECT_EQ("-12", (ini.Values[{"Advanced", "TimerInterval"}]));
    EXPECT_EQ("&HFFFFFFFF", (ini.Values[{"Colors", "TemperatureTextColor"}]));
    EXPECT_EQ("&HFF00", (ini.Values[{"Colors", "TemperatureTextColor2"}]));
    EXPECT_EQ(s, LoadFrom(ini));
}

TEST(SettingsRecordTest, HexColourReadsAndWritesTheSame) {
    FakeIni ini;
    ini.Values[{"Colors", "TemperatureTextColor"}] = "&H40FF60";
    const SettingsRecord loaded = LoadFrom(ini);
    EXPECT_EQ(4259680, loaded.TemperatureTextColor);
    SaveSettingsTo(loaded, ini.Writer());
    EXPECT_EQ("&H40FF60", (ini.Values[{"Colors", "TemperatureTextColor"}]));
}

TEST(SettingsRecordTest, BooleansAcceptWordsInAnyCaseAndNumbers) {
    for (const char* text : {"TRUE", "true", "-1", "1", " True "}) {
        FakeIni ini;
        ini.Values[{"Advanced", "PreventHDClicks"}] = text;
        EXPECT_TRUE(LoadFrom(ini).PreventHDClicks) << text;
    }
    for (const char* text : {"FALSE", "false", "0"}) {
        FakeIni ini;
        ini.Values[{"Advanced", "ShowRemainingBattIcon"}] = text;
        EXPECT_FALSE(LoadFrom(ini).ShowRemainingBattIcon) << text;
    }
}

// A bad value costs only its own field: it takes its default, and every field after
// it still gets the file's value (the next save must not overwrite them).
TEST(SettingsRecordTest, BadValueTakesItsDefaultAndTheLoadGoesOn) {
    const SettingsRecord defaults = DefaultRecord();
    const struct {
        const char* Section;
        const char* Key;
        const char* Text;
        void (*Reset)(SettingsRecord& s, const SettingsRecord& d);
    } cases[] = {
        {"Advanced", "TimerInterval", "",
         [](SettingsRecord& s, const SettingsRecord& d) { s.TimerInterval = d.TimerInterval; }},
        {"Special", "FanValueOff", "&H100",
         [](SettingsRecord& s, const SettingsRecord& d) { s.FanValueOff = d.FanValueOff; }},
        {"Advanced", "PreventHDClicks", "yes",
         [](SettingsRecord& s, const SettingsRecord& d) { s.PreventHDClicks = d.PreventHDClicks; }},
        {"Fan", "Stop", "32768", [](SettingsRecord& s, const SettingsRecord& d) { s.Fan.Stop = d.Fan.Stop; }},
        {"Colors", "BatteryTextColor", "&HG1",
         [](SettingsRecord& s, const SettingsRecord& d) { s.BatteryTextColor = d.BatteryTextColor; }},
        {"Special", "UseAlternateDriver", "1 2",
         [](SettingsRecord& s, const SettingsRecord& d) { s.UseAlternateDriver = d.UseAlternateDriver; }},
    };
    for (const auto& c : cases) {
        FakeIni ini = FileWithOwnValues();
        ini.Values[{c.Section, c.Key}] = c.Text;
        SettingsRecord expected = OwnValuesRecord();
        c.Reset(expected, defaults);
        EXPECT_EQ(expected, LoadFrom(ini)) << c.Key << "=" << c.Text;
    }
}

TEST(SettingsRecordTest, EmptyValueIsNotAMissingKey) {
    FakeIni ini;
    ini.Values[{"Special", "CustomDeviceName"}] = "";
    EXPECT_EQ("", LoadFrom(ini).CustomDeviceName);
}

TEST(SettingsRecordTest, BiosVersionFromTheLastSixCharacters) {
    using namespace std::string_literals;
    const struct {
        std::string Text;
        int16_t Expected;
    } cases[] = {
        {"ACRSYS - 1\0V0.3304\0\0"s, 3304}, {"ACRSYS - 1\0V0.3115\0\0"s, 3115},
        {"3304\0\0"s, 3304},                {"V1.0 12345"s, 12345},
        {"ACRSYS\0V1.09 A\0\0"s, 0},        {"ACRSYS\0BIOS\0\0"s, 0},
        {"ACRSYS\0V3.3\0\0"s, 0},           {"\0\0"s, 0},
        {""s, 0},                           {"caca"s, 0},
        {"123456"s, 0},                     {"V1.0x12345"s, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(c.Expected, BiosVersionFromText(c.Text)) << c.Text;
}

TEST(SettingsRecordTest, Windows6OrLaterFromTheVersionText) {
    const struct {
        const char* Text;
        bool Expected;
    } cases[] = {{"5.1", false}, {"5.2", false}, {"6.0", true}, {"6.1", true},
                 {"6.3", true},  {"10.0", true}, {"", false},   {"caca", false},
                 {"5.99", false}, {" 6", true}};
    for (const auto& c : cases) EXPECT_EQ(c.Expected, IsVersion6OrLater(c.Text)) << c.Text;
}

}  // namespace
