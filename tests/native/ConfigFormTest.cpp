#include "dialogs/ConfigForm.h"

#include <gtest/gtest.h>

using namespace ConfigForm;

namespace {

SettingsRecord Stored() {
    SettingsRecord s;
    s.Fan = {3, 50, 60, 65};
    s.Processor = {1, 0};
    s.CustomResolutionWidth = 1024;
    s.CustomResolutionHeight = 768;
    s.FanValueOff = 175;
    s.FanValueSlow = 16;
    s.FanValueAuto = 0;
    return s;
}

TEST(ConfigForm, ThresholdsShowTheirCheckBoxAndItem) {
    const struct { int16_t stored; bool checked; int selected; const wchar_t* item; } cases[] = {
        {0, false, 0, L"35\u00B0C"},  {-5, false, 0, L"35\u00B0C"}, {35, true, 0, L"35\u00B0C"},
        {50, true, 15, L"50\u00B0C"}, {75, true, 40, L"75\u00B0C"},
        {80, true, 41, L"80\u00B0C"},  // no item for it: one of its own
        {20, true, 41, L"20\u00B0C"}, {1, true, 41, L"1\u00B0C"},
    };
    for (const auto& c : cases) {
        SettingsRecord s = Stored();
        s.Fan.Stop = s.Fan.Auto = c.stored;
        const View view = Load(s, {});
        EXPECT_EQ(view.StopChecked, c.checked) << c.stored;
        EXPECT_EQ(view.AutoChecked, c.checked) << c.stored;
        EXPECT_EQ(view.Stop.Selected, c.selected) << c.stored;
        EXPECT_EQ(view.Stop.Items[size_t(view.Stop.Selected)], c.item) << c.stored;
        EXPECT_EQ(view.Slow.Items.size(), 41u);
        // Saved untouched, every threshold comes back as it was (0 for negative).
        EXPECT_EQ(Save(view, s).Settings.Fan.Stop, c.stored < 0 ? 0 : c.stored) << c.stored;
    }
}

TEST(ConfigForm, ThrottleModesAndTheirOwnItemForModeTwo) {
    SettingsRecord s = Stored();
    s.Processor = {2, 1};
    const View view = Load(s, {});
    EXPECT_EQ(view.ProcModeAC.Items, (std::vector<std::wstring>{L"800 Mhz", L"Dynamic", L"None"}));
    EXPECT_EQ(view.ProcModeAC.Selected, 2);
    EXPECT_EQ(view.ProcModeDC.Items, (std::vector<std::wstring>{L"800 Mhz", L"Dynamic"}));
    EXPECT_EQ(view.ProcModeDC.Selected, 1);
    EXPECT_EQ(Save(view, s).Settings.Processor, s.Processor);
}

TEST(ConfigForm, TextsOfBytesResolutionAndBios) {
    SettingsRecord s = Stored();
    s.ShowRemainingBattIcon = true;
    const View view = Load(s, {.BiosVersion = 3305});
    EXPECT_TRUE(view.ShowTime);
    EXPECT_EQ(view.FanStop, "AF");
    EXPECT_EQ(view.FanSlow, "10");
    EXPECT_EQ(view.FanAuto, "0");
    EXPECT_EQ(view.Bios, "3305");
    EXPECT_EQ(view.Test, "0");
    EXPECT_EQ(view.Width, "1024");
    EXPECT_EQ(view.Height, "768");
}

TEST(ConfigForm, PatchButtonsFromTheDriverStateAndTheSystem) {
    const struct { bool patched, windows6, alternate, patch, unpatch; } cases[] = {
        {false, false, false, true, false}, {true, false, false, false, true},
        {false, false, true, false, false}, {true, false, true, false, true},
        {false, true, false, false, false}, {true, true, false, false, false},
    };
    for (const auto& c : cases) {
        SettingsRecord s = Stored();
        s.UseAlternateDriver = c.alternate;
        const View view = Load(s, {.Patched = c.patched, .Windows6OrLater = c.windows6});
        EXPECT_EQ(view.PatchEnabled, c.patch) << c.patched << c.windows6 << c.alternate;
        EXPECT_EQ(view.UnpatchEnabled, c.unpatch) << c.patched << c.windows6 << c.alternate;
    }
}

TEST(ConfigForm, ResolutionCheck) {
    const struct { const char* width; const char* height; bool rejected; int32_t w, h; } cases[] = {
        {"800", "600", false, 1024, 768},    {"1280", "1024", false, 1280, 1024},
        {" 1152 ", "864", false, 1152, 864}, {"1100.5", "800", false, 1100, 800},
        {"wide", "768", true, 1200, 900},    {"", "768", true, 1200, 900},
        {"40000", "768", true, 1200, 900},   {"1024", "-40000", true, 1200, 900},
    };
    for (const auto& c : cases) {
        SettingsRecord s = Stored();
        s.CustomResolutionWidth = 1200;
        s.CustomResolutionHeight = 900;
        View view = Load(s, {});
        view.Width = c.width;
        view.Height = c.height;
        view.NoHDClicks = true;  // and the rest is saved either way
        const SaveResult result = Save(view, s);
        EXPECT_EQ(result.ResolutionRejected, c.rejected) << c.width;
        EXPECT_EQ(result.Settings.CustomResolutionWidth, c.w) << c.width;
        EXPECT_EQ(result.Settings.CustomResolutionHeight, c.h) << c.width;
        EXPECT_TRUE(result.Settings.PreventHDClicks);
    }
}

TEST(ConfigForm, EcBytesAreCheckedTogether) {
    const struct { const char* slow; const char* stop; const char* automatic; bool rejected; uint8_t s, o, a; } cases[] = {
        {"20", "af", "00A0", false, 0x20, 0xAF, 0xA0}, {"0", "FF", "000000AF", false, 0, 255, 175},
        {"1G", "AF", "0", true, 16, 175, 0},           {"100", "AF", "0", true, 16, 175, 0},
        {"", "AF", "0", true, 16, 175, 0},             {"20", "-1", "0", true, 16, 175, 0},
        {"20", "AF", "&H10", true, 16, 175, 0},
    };
    for (const auto& c : cases) {
        View view = Load(Stored(), {});
        view.FanSlow = c.slow;
        view.FanStop = c.stop;
        view.FanAuto = c.automatic;
        const SaveResult result = Save(view, Stored());
        EXPECT_EQ(result.EcValuesRejected, c.rejected) << c.slow << "/" << c.stop << "/" << c.automatic;
        EXPECT_EQ(result.Settings.FanValueSlow, c.s) << c.slow;
        EXPECT_EQ(result.Settings.FanValueOff, c.o) << c.stop;
        EXPECT_EQ(result.Settings.FanValueAuto, c.a) << c.automatic;
    }
}

TEST(ConfigForm, SaveCopiesEveryControl) {
    View view = Load(Stored(), {});
    view.Autostart = true;
    view.StopChecked = false;   // stored 0 whatever the list shows
    view.Slow.Selected = 35;    // 70, above auto: stored as chosen
    view.Auto.Selected = 5;     // 40
    view.ProcModeAC.Selected = 0;
    view.ProcModeDC.Selected = 1;
    view.DeviceEnabled = true;
    view.DeviceName = "Card reader";
    view.DeviceID = "USB\\VID_05E3\"";
    view.CustomEC = true;
    view.ShowTime = true;
    const SaveResult result = Save(view, Stored());
    const SettingsRecord& s = result.Settings;
    EXPECT_TRUE(result.AutostartEnabled);
    EXPECT_EQ(s.Fan, (FanSettings{3, 0, 70, 40}));
    EXPECT_EQ(s.Processor, (ProcessorSettings{0, 1}));
    EXPECT_TRUE(s.UseCustomDevice);
    EXPECT_EQ(s.CustomDeviceName, "Card reader");
    EXPECT_EQ(s.CustomDeviceID, "USB\\VID_05E3\"");  // kept as typed
    EXPECT_TRUE(s.UseCustomFanValue);
    EXPECT_TRUE(s.ShowRemainingBattIcon);
}

TEST(ConfigForm, HexBytes) {
    EXPECT_EQ(HexByte("af"), 175);
    EXPECT_EQ(HexByte("0a"), 10);
    EXPECT_EQ(HexText(10), "A");
    EXPECT_EQ(HexText(0), "0");
    for (const char* bad : {"", "G1", "100", "-1", "1 2", "&HFF"})
        EXPECT_FALSE(HexByte(bad).has_value()) << bad;
}

}  // namespace
