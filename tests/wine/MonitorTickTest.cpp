// One monitor tick in-process, against the simulated EC beside the test program, with
// the platform's power status replaced at its one narrow seam.
#include <gtest/gtest.h>

#include "app/Tray.h"
#include "app/TrayMenu.h"
#include "app/frmMain.h"
#include "app/modHistory.h"
#include "ec/modAcerEC.h"
#include "resources/resource.h"
#include "settings/modSettings.h"
#include "system/modPowerMan.h"

namespace {

int reads = 0;

// The AC line at the first read, the battery at any later one: a plug pulled within
// the tick.
BOOL WINAPI PluggedThenPulled(LPSYSTEM_POWER_STATUS status) {
    *status = {};
    status->ACLineStatus = reads++ == 0 ? 1 : 0;
    return TRUE;
}

}  // namespace

// The tick reads the power status once, and its fan step, the temperature icon's colour
// and the history's row all show that reading: the AC line's auto fan, the colour of
// its dynamic throttling, a row on the AC line, not the battery's off fan and colour;
// and the fan menu then speaks for the AC line too.
TEST(MonitorTick, OneTickOneSetOfFacts) {
    const SettingsRecord saved = modSettings::Settings;
    const auto platform = modPowerMan::SystemPowerStatus;
    modPowerMan::SystemPowerStatus = PluggedThenPulled;
    modSettings::Settings.Fan.Control = 2;
    modSettings::Settings.Fan.BatteryControl = 0;
    modSettings::Settings.TemperatureTextColor = 0x112233;   // dynamic (the AC line's mode here)
    modSettings::Settings.TemperatureTextColor2 = 0x445566;  // 800 Mhz (the battery's)
    modPowerMan::ApplyThrottleModes(1, 0);
    ASSERT_TRUE(modAcerEC::InitEC());
    modAcerEC::SetFanState(modAcerEC::FanStateUnknown);
    frmMain::TimerMon_Timer();
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(modAcerEC::FanState(), modAcerEC::FanStateAuto);
    EXPECT_EQ(frmMain::MainIconPicture().value_or(TrayPictures::Picture{}).color, COLORREF(0x112233));
    bool onBattery = true;
    modHistory::Ticks().ForEach([&](const TickHistory::Tick& tick) { onBattery = tick.OnBattery; });
    EXPECT_FALSE(onBattery);
    // The plug pulled since: the fan menu sets the AC line's mode, the one still in force.
    frmMain::RefreshFanMenu();
    EXPECT_TRUE(frmMain::MenuCommand(IDM_OFF));
    EXPECT_EQ(modSettings::Settings.Fan.Control, 0);
    DeleteFileA(modSettings::IniFilePath().c_str());
    modAcerEC::CloseEC();
    modPowerMan::SystemPowerStatus = platform;
    modSettings::Settings = saved;
}
