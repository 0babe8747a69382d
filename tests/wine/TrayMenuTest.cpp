// The tray menu as it opens, read back item by item: the check marks and commands of
// its entries.
#include "app/TrayMenu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "CommandLog.h"
#include "app/frmMain.h"
#include "resources/resource.h"
#include "settings/modSettings.h"
#include "support/FakePowerSupply.h"
#include "system/KnownFolders.h"
#include "system/modDeviceControl.h"
#include "system/modPowerMan.h"

namespace {

// "Caption*" for a checked entry, "Caption~" for a greyed one, "-" for a separator,
// submenus in brackets.
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
        text += std::string(i ? "|" : "") + ((item.fType & MFT_SEPARATOR) ? "-" : caption) +
                ((item.fState & MFS_CHECKED) ? "*" : "") + ((item.fState & MFS_GRAYED) ? "~" : "");
        if (item.hSubMenu)
            text += "[" + Describe(item.hSubMenu) + "]";
    }
    return text;
}

std::string Popup() { return Describe(frmMain::BuildTrayPopup().get()); }

std::string Submenu(const std::string& name) {
    const std::string popup = Popup();
    const size_t at = popup.find(name + "[") + name.size() + 1;
    return popup.substr(at, popup.find(']', at) - at);
}

// The settings loaded from no file, and put back afterwards with the menu's entries.
class TrayMenu : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FakePowerSupply::Available()) << "run under scripts/wine-run";
        CommandLog::Clear();
        DeleteFileA(modSettings::IniFilePath().c_str());
        modSettings::LoadSettings();  // only loaded settings are ever saved
    }
    void TearDown() override {
        frmMain::SetMenuVisible(IDM_CUSTOMDEVICE, true);
        frmMain::SetMenuEnabled(IDM_CUSTOMDEVICE, true);
        FakePowerSupply::Mains();
        frmMain::RefreshFanMenu();  // no battery lines left for the next test
        DeleteFileA(modSettings::IniFilePath().c_str());
        DeleteFileA((KnownFolders::AppFolder() + "devcon.outs").c_str());
        CommandLog::Clear();
        modSettings::Settings = saved_;
    }
    std::string Stored(const char* section, const char* key) const {
        return modSettings::ReadIniValue(section, key, modSettings::IniFilePath(), "none");
    }

private:
    const SettingsRecord saved_ = modSettings::Settings;
};

// A fan entry stores the mode of the power source in use at once and the check follows
// it: on battery below a greyed "On battery:" line, with "As on AC line" checked while
// the battery's mode is the AC line's; 7 checks nothing.
TEST_F(TrayMenu, FanEntriesSaveTheModeOfThePowerSourceAndMoveTheCheck) {
    const struct { bool battery; uint32_t id; const char* checks; const char* stored; } cases[] = {
        {false, IDM_OFF, "Off*|Slow|Auto|Custom", "0 -1"}, {false, IDM_SLOW, "Off|Slow*|Auto|Custom", "1 -1"},
        {false, IDM_AUTO, "Off|Slow|Auto*|Custom", "2 -1"},
        {true, IDM_OFF, "On battery:~|Off*|Slow|Auto|Custom|As on AC line", "2 0"},
        {true, IDM_ASONACLINE, "On battery:~|Off|Slow|Auto*|Custom|As on AC line*", "2 -1"},
        {false, IDM_CUSTOM, "Off|Slow|Auto|Custom*", "3 -1"},
        {true, IDM_AUTO, "On battery:~|Off|Slow|Auto*|Custom|As on AC line", "3 2"},
    };
    for (const auto& c : cases) {
        c.battery ? FakePowerSupply::Discharging() : FakePowerSupply::Mains();
        frmMain::WatchFanAfterSleep();  // as after a resume: the source read next is in force at once
        frmMain::RefreshFanMenu();      // as the menu's opening does
        EXPECT_TRUE(frmMain::MenuCommand(c.id));
        EXPECT_EQ(Submenu("&Fan"), c.checks);
        EXPECT_EQ(Stored("Fan", "Control") + " " + Stored("Fan", "BatteryControl"), c.stored);
    }
    FakePowerSupply::Mains();
    modSettings::Settings.Fan.Control = 7;
    frmMain::RefreshFanMenu();
    EXPECT_EQ(Submenu("&Fan"), "Off|Slow|Auto|Custom");
    EXPECT_FALSE(frmMain::MenuCommand(12345));
}

// The entries show what devcon's words say of each device ("disabled" only in lower
// case counts; the webcam's pattern from its find); an entry switches its device the
// other way at once, the check showing it, the custom one once devcon find lists its
// devices. The switches run on their own, in any order. A custom ID that names no
// device in particular is greyed and runs no devcon at all.
TEST_F(TrayMenu, DeviceEntriesShowDevconsStateAndToggleTheirDevice) {
    std::ofstream(KnownFolders::AppFolder() + "devcon.outs", std::ios::binary)
        << ">devcon find \"USB\\VID_0C45*\"\r\nNo matching devices found.\r\n"
           ">devcon status \"PCI\\VEN_10EC&DEV_8136*\"\r\n    Device is disabled.\r\n"
           ">devcon status \"USB\\VID_064E*\"\r\n    Device is Disabled.\r\n"
           ">devcon status \"USB\\VID_12*\"\r\nUSB\\VID_12\r\n    Device is disabled.\r\n"
           ">devcon find \"USB\\VID_12*\"\r\nUSB\\VID_12&MI_00\r\nUSB\\VID_12&MI_01\r\n2 matching device(s) found.\r\n";
    modSettings::Settings.UseCustomDevice = true;
    modSettings::Settings.CustomDeviceID = "USB\\VID_12";
    modSettings::Settings.CustomDeviceName = "Reader";
    frmMain::PrepareCustomDeviceEntry();
    modDeviceControl::DetectWebcam();
    frmMain::CheckDevicesStatus();
    EXPECT_EQ(Submenu("&Devices"), "LAN|Wi-Fi*|Webcam*|Reader");
    const char kLan[] = "\"PCI\\VEN_10EC&DEV_8136*\"", kWifi[] = "\"PCI\\VEN_168C&DEV_001C*\"", kReader[] = "\"USB\\VID_12*\"";
    EXPECT_EQ(CommandLog::Lines(), (CommandLog::Text{"devcon find \"USB\\VID_0C45*\"", std::string("devcon status ") + kLan,
                                                     "devcon status \"USB\\VID_064E*\"", std::string("devcon status ") + kWifi,
                                                     std::string("devcon status ") + kReader}));
    CommandLog::Clear();
    for (uint32_t id : {IDM_LAN, IDM_WIFI, IDM_CUSTOMDEVICE, IDM_WIFI})
        frmMain::MenuCommand(id);
    EXPECT_EQ(Submenu("&Devices"), "LAN*|Wi-Fi*|Webcam*|Reader*");
    CommandLog::Text lines = CommandLog::WaitForLines(5);
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (CommandLog::Text{std::string("devcon disable ") + kWifi, std::string("devcon enable ") + kLan,
                                       std::string("devcon enable ") + kWifi, std::string("devcon enable ") + kReader,
                                       std::string("devcon find ") + kReader}));

    modSettings::Settings.CustomDeviceID = "";  // as a file may hold it: the pattern would be "*"
    frmMain::PrepareCustomDeviceEntry();
    frmMain::CheckDevicesStatus();
    CommandLog::Clear();
    frmMain::MenuCommand(IDM_CUSTOMDEVICE);
    EXPECT_EQ(Submenu("&Devices"), "LAN|Wi-Fi*|Webcam*|Reader~");
    EXPECT_EQ(CommandLog::Lines(), CommandLog::Text{});
}

// The CPU entries set and store the mode of the power source in use, powercfg taking
// it; the menu shows the mode in force of the source in use (none for "none").
TEST_F(TrayMenu, ThrottleEntriesFollowThePowerSource) {
    const struct { bool battery; uint32_t id; const char* line; const char* stored; } entries[] = {
        {true, IDM_DYNAMIC, "powercfg /x vantu /processor-throttle-dc adaptive", "1 1"},
        {false, IDM_800MHZ, "powercfg /x vantu /processor-throttle-ac constant", "0 1"},
    };
    for (const auto& c : entries) {
        c.battery ? FakePowerSupply::Discharging() : FakePowerSupply::Mains();
        CommandLog::Clear();
        frmMain::MenuCommand(c.id);
        EXPECT_EQ(CommandLog::Lines(), CommandLog::Text{c.line});
        EXPECT_EQ(Stored("Processor", "AC") + " " + Stored("Processor", "DC"), c.stored);
        EXPECT_NE(Popup().find(c.id == IDM_DYNAMIC ? "800 Mhz|Dynamic*" : "800 Mhz*|Dynamic"), std::string::npos);
    }
    const struct { bool battery; ProcessorSettings modes; const char* checks; } opening[] = {
        {true, {1, 0}, "800 Mhz*|Dynamic|"}, {false, {1, 0}, "800 Mhz|Dynamic*|"}, {false, {2, 0}, "800 Mhz|Dynamic|"},
    };
    for (const auto& c : opening) {
        c.battery ? FakePowerSupply::Discharging() : FakePowerSupply::Mains();
        modPowerMan::ApplyThrottleModes(c.modes.AC, c.modes.DC);
        frmMain::RefreshThrottleMenu();
        EXPECT_NE(Popup().find(c.checks), std::string::npos) << c.checks;
    }
}

}  // namespace
