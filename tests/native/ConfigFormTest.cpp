#include "dialogs/ConfigForm.h"

#include <gtest/gtest.h>

using namespace ConfigForm;

const SettingsRecord kStored{.ShowAlerts = true, .Fan = {3, 50, 60, 65}, .Processor = {1, 0}, .FanValueOff = 175,
                             .FanValueSlow = 16, .CustomResolutionWidth = 1024, .CustomResolutionHeight = 768,
                             .CustomDeviceName = "MyDevice", .CustomDeviceID = "USB\\VID_1BCF*"};

// Each threshold list shows the stored value. The AC line's: checked, with an item of
// its own for a value the list lacks (1, 80); unchecked at 35 for 0 or less. The
// battery's: "As on AC line" for any negative value, "Off" for 0, an item of their own
// for a value they lack ("Slow" only without a slow byte). Saved untouched, each comes
// back as it was: 0 for an unused AC threshold, -1 for the AC line's on battery.
TEST(ConfigForm, ThresholdListsShowAndSaveTheStoredValues) {
    const struct { int16_t stored; bool hasSlow, checked; int selected; std::wstring item, mode, battery;
                   int16_t ac, saved; } cases[] = {
        {-9, true, false, 0, L"35\u00B0C", L"As on AC line", L"As on AC line", 0, -1},
        {-1, true, false, 0, L"35\u00B0C", L"As on AC line", L"As on AC line", 0, -1},
        {0, true, false, 0, L"35\u00B0C", L"Off", L"Off", 0, 0},
        {1, true, true, 41, L"1\u00B0C", L"Slow", L"1\u00B0C", 1, 1},
        {1, false, true, 41, L"1\u00B0C", L"Slow", L"1\u00B0C", 1, 1},
        {3, false, true, 41, L"3\u00B0C", L"Custom", L"3\u00B0C", 3, 3},
        {35, true, true, 0, L"35\u00B0C", L"35", L"35\u00B0C", 35, 35},
        {75, true, true, 40, L"75\u00B0C", L"75", L"75\u00B0C", 75, 75},
        {80, true, true, 41, L"80\u00B0C", L"80", L"80\u00B0C", 80, 80},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.stored << (c.hasSlow ? " with slow" : " without slow"));
        SettingsRecord s = kStored;
        s.Fan = {3, c.stored, c.stored, c.stored, c.stored, c.stored, c.stored, c.stored};
        const View view = Load(s, {.HasSlowByte = c.hasSlow});
        EXPECT_EQ(std::tuple(view.StopChecked, view.SlowChecked, view.AutoChecked),
                  std::tuple(c.checked, c.checked, c.checked));
        EXPECT_EQ(view.Stop.Selected, c.selected);
        EXPECT_EQ(view.Stop.Items[size_t(view.Stop.Selected)], c.item);
        EXPECT_EQ(view.BatteryControl.Items[size_t(view.BatteryControl.Selected)], c.mode);
        EXPECT_EQ(view.BatteryAuto.Items[size_t(view.BatteryAuto.Selected)], c.battery);
        EXPECT_EQ(Save(view, s).Settings.Fan, (FanSettings{3, c.ac, c.ac, c.ac, c.saved, c.saved, c.saved, c.saved}));
    }
    EXPECT_EQ(Load({}, {.HasSlowByte = false}).BatteryControl.Items,
              (std::vector<std::wstring>{L"As on AC line", L"Off", L"Auto", L"Custom"}));
}

TEST(ConfigForm, PatchButtonsFromTheDriverStateAndTheSystem) {
    const struct { bool patched, windows6, alternate, patch, unpatch; } cases[] = {
        {false, false, false, true, false}, {true, false, false, false, true}, {false, false, true, false, false},
        {true, false, true, false, true},   {false, true, false, false, false}, {true, true, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.patched << c.windows6 << c.alternate);
        SettingsRecord s = kStored;
        s.UseAlternateDriver = c.alternate;
        const View view = Load(s, {.Patched = c.patched, .Windows6OrLater = c.windows6});
        EXPECT_EQ(std::pair(view.PatchEnabled, view.UnpatchEnabled), std::pair(c.patch, c.unpatch));
    }
}

// Typed numbers are checked on save, each group on its own: a resolution that is not
// two 16-bit numbers, or fan bytes that are not all hex bytes, or (while the custom
// device is on) an ID that names no device in particular, keep what was stored (the
// bytes all three); the rest is saved either way. A small resolution is raised.
TEST(ConfigForm, TypedNumbersAreCheckedOnSave) {
    const struct { const char *width, *height, *slow, *stop, *automatic; bool resolutionRejected; int32_t w, h;
                   bool bytesRejected; uint8_t s, o, a; bool deviceOn; const char* id; bool idRejected; } cases[] = {
        {"800", "600", "20", "af", "00A0", false, 1024, 768, false, 0x20, 0xAF, 0xA0, true, "PCI\\VEN_8086*", false},
        {"1280", "1024", "0", "FF", "000000AF", false, 1280, 1024, false, 0, 255, 175, false, "", false},
        {"40000", "768", "1G", "AF", "0", true, 1200, 900, true, 16, 175, 0, true, "", true},
        {"1024", "-40000", "20", "AF", "0", true, 1200, 900, false, 0x20, 0xAF, 0, true, "*", true},
        {"1280", "1024", "20", "-1", "0", false, 1280, 1024, true, 16, 175, 0, false, "*", false},
        {"1280", "1024", "20", "AF", "&H10", false, 1280, 1024, true, 16, 175, 0, true, "USB\\VID_1BCF*", false},
    };
    SettingsRecord s = kStored;
    s.CustomResolutionWidth = 1200;
    s.CustomResolutionHeight = 900;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " " << c.slow << "/" << c.stop << "/"
                                        << c.automatic);
        View view = Load(s, {});
        view.Width = c.width;
        view.Height = c.height;
        view.FanSlow = c.slow;
        view.FanStop = c.stop;
        view.FanAuto = c.automatic;
        view.NoHDClicks = true;
        view.DeviceEnabled = c.deviceOn;
        view.DeviceID = c.id;
        const SaveResult r = Save(view, s);
        const SettingsRecord& saved = r.Settings;
        EXPECT_EQ(std::tuple(r.ResolutionRejected, saved.CustomResolutionWidth, saved.CustomResolutionHeight),
                  std::tuple(c.resolutionRejected, c.w, c.h));
        EXPECT_EQ(std::tuple(r.EcValuesRejected, saved.FanValueSlow, saved.FanValueOff, saved.FanValueAuto),
                  std::tuple(c.bytesRejected, c.s, c.o, c.a));
        EXPECT_EQ(std::tuple(r.DeviceIdRejected, saved.CustomDeviceID),
                  std::tuple(c.idRejected, std::string(c.idRejected ? kStored.CustomDeviceID : c.id)));
        EXPECT_TRUE(saved.PreventHDClicks);
    }
}

// Load shows the stored settings (throttle mode 2 gets an item of its own, on battery
// too); Save copies every control, each changed from what was stored.
TEST(ConfigForm, LoadShowsAndSaveCopiesEveryControl) {
    SettingsRecord s = kStored;
    s.Processor = {2, 1};
    s.ShowRemainingBattIcon = true;
    View view = Load(s, {.BiosVersion = 3305});
    EXPECT_EQ(view.ProcModeAC.Items, (std::vector<std::wstring>{L"800 Mhz", L"Dynamic", L"None"}));
    EXPECT_EQ(view.ProcModeAC.Selected, 2);
    EXPECT_EQ(view.ProcModeDC.Items, (std::vector<std::wstring>{L"800 Mhz", L"Dynamic"}));
    EXPECT_EQ(view.ProcModeDC.Selected, 1);
    EXPECT_EQ(Save(view, s).Settings.Processor, s.Processor);
    EXPECT_TRUE(view.ShowTime && view.ShowAlerts);
    EXPECT_EQ((std::vector<std::string>{view.FanStop, view.FanSlow, view.FanAuto, view.Bios, view.Test, view.Width,
                                        view.Height}),
              (std::vector<std::string>{"AF", "10", "0", "3305", "0", "1024", "768"}));

    view.Autostart = true;
    view.StopChecked = false;   // stored 0 whatever the list shows
    view.Slow.Selected = 35;    // 70, above auto: stored as chosen
    view.Auto.Selected = 5;     // 40
    view.ProcModeAC.Selected = 1;
    view.ProcModeDC.Selected = 0;
    view.DeviceEnabled = true;
    view.DeviceName = "Card reader";
    view.DeviceID = "USB\\VID_05E3";
    view.CustomEC = true;
    view.ShowTime = false;
    view.ShowAlerts = false;
    const SaveResult result = Save(view, s);
    EXPECT_TRUE(result.AutostartEnabled);
    const SettingsRecord expected{
        .Fan = {3, 0, 70, 40}, .Processor = {1, 0}, .UseCustomFanValue = true, .FanValueOff = 175, .FanValueSlow = 16,
        .CustomResolutionWidth = 1024, .CustomResolutionHeight = 768, .UseCustomDevice = true,
        .CustomDeviceName = "Card reader", .CustomDeviceID = "USB\\VID_05E3"};
    EXPECT_EQ(result.Settings, expected);
}
