// The tray menu as it opens: the popup built from the visible entries, read back item
// by item, and the check marks that the commands and refresh operations leave.
#include "app/TrayMenu.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "CommandLog.h"
#include "resources/resource.h"
#include "settings/modSettings.h"
#include "support/FakePowerSupply.h"
#include "system/modPowerMan.h"

namespace {

using Lines = std::vector<std::string>;

// "Caption*" for a checked entry, "-" for a separator, submenus in brackets.
std::string Describe(HMENU menu) {
    std::string text;
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        char caption[128] = {};
        MENUITEMINFOA item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
        item.dwTypeData = caption;
        item.cch = sizeof caption;
        GetMenuItemInfoA(menu, i, TRUE, &item);
        text += i ? "|" : "";
        text += (item.fType & MFT_SEPARATOR) ? "-" : caption;
        if (item.fState & MFS_CHECKED)
            text += "*";
        if (item.hSubMenu)
            text += "[" + Describe(item.hSubMenu) + "]";
    }
    return text;
}

std::string Popup() { return Describe(frmMain::BuildTrayPopup().get()); }

std::string Submenu(const std::string& name) {
    const std::string popup = Popup();
    const size_t at = popup.find(name + "[");
    return at == std::string::npos ? "" : popup.substr(at + name.size() + 1, popup.find(']', at) - at - name.size() - 1);
}

class TrayMenu : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FakePowerSupply::Available()) << "run under scripts/wine-run";
        saved_ = modSettings::Settings;
        savedVersion6_ = modSettings::IsWindows6OrLater;
        CommandLog::Clear();
        DeleteFileA(modSettings::IniFilePath().c_str());
        modSettings::LoadSettings();  // only loaded settings are ever saved
    }
    void TearDown() override {
        for (uint32_t id : {IDM_SCREEN, IDM_800MHZ, IDM_DYNAMIC, IDM_SEP2, IDM_CUSTOMDEVICE})
            frmMain::SetMenuVisible(id, true);
        FakePowerSupply::Mains();
        DeleteFileA(modSettings::IniFilePath().c_str());
        CommandLog::Clear();
        modSettings::Settings = saved_;
        modSettings::IsWindows6OrLater = savedVersion6_;
    }

private:
    SettingsRecord saved_;
    bool savedVersion6_ = false;
};

// Hidden entries are really absent, separators included.
TEST_F(TrayMenu, StructureBeforeAndFromWindows6) {
    modSettings::Settings.CustomDeviceName = "Card reader";
    modSettings::Settings.UseCustomDevice = true;
    frmMain::PrepareCustomDeviceEntry();
    modSettings::IsWindows6OrLater = true;
    frmMain::PrepareScreenMenu();
    EXPECT_EQ(Popup(), "&About|&Configure|-|&Devices[LAN|Wi-Fi|Webcam|Card reader]|"
                       "&Fan[Off|Slow|Auto|Custom]|-|&Exit");

    modSettings::Settings.UseCustomDevice = false;
    frmMain::PrepareCustomDeviceEntry();
    for (uint32_t id : {IDM_SCREEN, IDM_800MHZ, IDM_DYNAMIC, IDM_SEP2})
        frmMain::SetMenuVisible(id, true);
    modSettings::Settings.CustomResolutionWidth = 1280;
    modSettings::Settings.CustomResolutionHeight = 1024;
    modSettings::IsWindows6OrLater = false;
    frmMain::PrepareScreenMenu();
    const std::string popup = Popup();
    EXPECT_EQ(popup.substr(0, popup.find("&Screen")),
              "&About|&Configure|-|&Devices[LAN|Wi-Fi|Webcam]|&Fan[Off|Slow|Auto|Custom]|");
    EXPECT_EQ(Submenu("&Screen").find("Downscaling"), 0u);
    EXPECT_NE(Submenu("&Screen").find("|1280x1024"), std::string::npos);
    EXPECT_NE(popup.find("]|-|800 Mhz"), std::string::npos);
    EXPECT_NE(popup.find("|Dynamic"), std::string::npos);
    EXPECT_EQ(popup.substr(popup.size() - 8), "|-|&Exit");
}

// A fan entry stores the mode at once; the check follows it; 7 checks nothing.
TEST_F(TrayMenu, FanEntriesSaveTheModeAndMoveTheCheck) {
    const struct { uint32_t id; const char* checks; const char* stored; } cases[] = {
        {IDM_OFF, "Off*|Slow|Auto|Custom", "0"},   {IDM_SLOW, "Off|Slow*|Auto|Custom", "1"},
        {IDM_AUTO, "Off|Slow|Auto*|Custom", "2"},  {IDM_CUSTOM, "Off|Slow|Auto|Custom*", "3"},
        {IDM_CUSTOM, "Off|Slow|Auto|Custom*", "3"},
    };
    for (const auto& c : cases) {
        DeleteFileA(modSettings::IniFilePath().c_str());
        EXPECT_TRUE(frmMain::MenuCommand(c.id));
        EXPECT_EQ(Submenu("&Fan"), c.checks);
        EXPECT_EQ(modSettings::ReadIniValue("Fan", "Control", modSettings::IniFilePath(), "none"), c.stored);
    }
    modSettings::Settings.Fan.Control = 7;
    frmMain::RefreshFanMenu();
    EXPECT_EQ(Submenu("&Fan"), "Off|Slow|Auto|Custom");
    EXPECT_FALSE(frmMain::MenuCommand(12345));
}

// A device entry switches the device the other way and checks what the toggle set.
TEST_F(TrayMenu, DeviceEntriesToggleTheirDevice) {
    modSettings::Settings.UseCustomDevice = true;
    modSettings::Settings.CustomDeviceID = "USB\\VID_1234";
    modSettings::Settings.CustomDeviceName = "Reader";
    frmMain::PrepareCustomDeviceEntry();
    frmMain::CheckDevicesStatus();  // devcon prints nothing: all enabled
    EXPECT_EQ(Submenu("&Devices"), "LAN*|Wi-Fi*|Webcam*|Reader*");
    CommandLog::Clear();
    for (uint32_t id : {IDM_LAN, IDM_WIFI, IDM_CUSTOMDEVICE, IDM_LAN})
        frmMain::MenuCommand(id);
    EXPECT_EQ(Submenu("&Devices"), "LAN*|Wi-Fi|Webcam*|Reader");
    // The toggles do not wait for devcon, so their lines come in any order.
    Lines lines = CommandLog::WaitForLines(4);
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (Lines{"devcon disable \"PCI\\VEN_10EC&DEV_8136*\"", "devcon disable \"PCI\\VEN_168C&DEV_001C*\"",
                            "devcon disable \"USB\\VID_1234*\"", "devcon enable \"PCI\\VEN_10EC&DEV_8136*\""}));
}

// The CPU entries address the power source in use; opening shows its mode.
TEST_F(TrayMenu, ThrottleEntriesFollowThePowerSource) {
    modSettings::Settings.Processor = {1, 0};
    const struct { bool battery; uint32_t id; const char* line; const char* checks; } cases[] = {
        {true, IDM_DYNAMIC, "powercfg /x vantu /processor-throttle-dc adaptive", "800 Mhz|Dynamic*"},
        {false, IDM_800MHZ, "powercfg /x vantu /processor-throttle-ac constant", "800 Mhz*|Dynamic"},
    };
    for (const auto& c : cases) {
        c.battery ? FakePowerSupply::Discharging() : FakePowerSupply::Mains();
        CommandLog::Clear();
        frmMain::MenuCommand(c.id);
        EXPECT_EQ(CommandLog::Lines(), Lines{c.line});
        const std::string popup = Popup();
        EXPECT_NE(popup.find(c.checks), std::string::npos) << popup;
    }
    const struct { bool battery; ProcessorSettings modes; const char* checks; } opening[] = {
        {true, {1, 0}, "800 Mhz*|Dynamic|"}, {false, {1, 0}, "800 Mhz|Dynamic*|"},
        {false, {2, 0}, "800 Mhz|Dynamic|"},
    };
    for (const auto& c : opening) {
        c.battery ? FakePowerSupply::Discharging() : FakePowerSupply::Mains();
        modSettings::Settings.Processor = c.modes;
        modPowerMan::ApplyThrottleModes(c.modes.AC, c.modes.DC);
        frmMain::RefreshThrottleMenu();
        EXPECT_NE(Popup().find(c.checks), std::string::npos) << c.checks;
    }
}

}  // namespace
