// The tray menu's Fan submenu by power source, read back from the popup as the menu
// opens it: on battery its "On battery:" line, the mode in force on battery checked,
// "As on AC line" checked while the battery's mode is the AC line's; each choice stored
// for the power source the menu spoke for.
#include <gtest/gtest.h>

#include "app/TrayMenu.h"
#include "resources/resource.h"
#include "settings/modSettings.h"
#include "support/FakePowerSupply.h"

namespace {

// "Caption*" for a checked entry, "Caption~" for a greyed one.
std::string FanSubmenu() {
    const frmMain::Menu popup = frmMain::BuildTrayPopup();
    MENUITEMINFOA fan{};
    fan.cbSize = sizeof fan;
    fan.fMask = MIIM_SUBMENU;
    GetMenuItemInfoA(popup.get(), IDM_FAN, FALSE, &fan);
    std::string text;
    for (int i = 0, n = GetMenuItemCount(fan.hSubMenu); i < n; ++i) {
        char caption[64] = {};
        GetMenuStringA(fan.hSubMenu, i, caption, sizeof caption, MF_BYPOSITION);
        const UINT state = GetMenuState(fan.hSubMenu, i, MF_BYPOSITION);
        text += std::string(i ? "|" : "") + caption + (state & MF_CHECKED ? "*" : "") + (state & MF_GRAYED ? "~" : "");
    }
    return text;
}

TEST(BatteryFanMenu, FanEntriesShowAndSetTheModeOfThePowerSourceInUse) {
    ASSERT_TRUE(FakePowerSupply::Available()) << "run under scripts/wine-run";
    const SettingsRecord saved = modSettings::Settings;
    DeleteFileA(modSettings::IniFilePath().c_str());
    modSettings::LoadSettings();  // only loaded settings are ever saved
    modSettings::Settings.Fan.Control = 2;
    const struct { bool battery; uint32_t entry; const char* shown; const char* control; const char* battery_; } steps[] = {
        {true, IDM_OFF, "On battery:~|Off*|Slow|Auto|Custom|As on AC line", "2", "0"},
        {true, IDM_ASONACLINE, "On battery:~|Off|Slow|Auto*|Custom|As on AC line*", "2", "-1"},
        {false, IDM_CUSTOM, "Off|Slow|Auto|Custom*", "3", "-1"},
        {true, IDM_AUTO, "On battery:~|Off|Slow|Auto*|Custom|As on AC line", "3", "2"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.shown);
        step.battery ? FakePowerSupply::Discharging() : FakePowerSupply::Mains();
        frmMain::RefreshFanMenu();  // as the menu's opening does
        EXPECT_TRUE(frmMain::MenuCommand(step.entry));
        EXPECT_EQ(FanSubmenu(), step.shown);
        const std::string file = modSettings::IniFilePath();
        EXPECT_EQ(modSettings::ReadIniValue("Fan", "Control", file, "none"), step.control);
        EXPECT_EQ(modSettings::ReadIniValue("Fan", "BatteryControl", file, "none"), step.battery_);
    }
    FakePowerSupply::Mains();
    frmMain::RefreshFanMenu();
    DeleteFileA(modSettings::IniFilePath().c_str());
    modSettings::Settings = saved;
}

}  // namespace
