// The monitor tick: the program's main loop, run by the timer TimerMon.
#include <windows.h>

#include <optional>
#include <string>

#include "app/Alerts.h"
#include "app/BatteryText.h"
#include "app/FanProfile.h"
#include "app/FanRules.h"
#include "app/FanSafety.h"
#include "app/Tray.h"
#include "app/frmHistory.h"
#include "app/frmMain.h"
#include "app/modHistory.h"
#include "ec/modAcerEC.h"
#include "settings/modSettings.h"
#include "system/modDeviceControl.h"
#include "system/modPowerMan.h"

namespace frmMain {

namespace {

FanSafety::Guard SafetyGuard;
FanProfile::Tracker PowerSourceTracker;
Alerts::State AlertState;
std::string BatteryTip;  // what the last good tick had to say of the battery

void Apply(FanRules::FanAction action) {
    switch (action) {
        case FanRules::FanAction::Off: modAcerEC::SetFanOff(); break;
        case FanRules::FanAction::Slow: modAcerEC::SetFanSlow(); break;
        case FanRules::FanAction::Auto: modAcerEC::SetFanAuto(); break;
        case FanRules::FanAction::None: break;
    }
}

// The EC keeps the fan while nothing watches the temperature: from the suspend notice
// to a resume event, and while the history's Save waits for the user or for a file
// (a network share that dropped keeps it for tens of seconds, and no tick runs).
bool Asleep = false, Saving = false;

void HoldFanAtEc(bool& reason, bool hold) {
    if (hold)
        modAcerEC::SetFanAuto();
    reason = hold;
    SafetyGuard.Sleeping = Asleep || Saving;
}

}  // namespace

void HandFanToEcForSleep() { HoldFanAtEc(Asleep, true); }

// The power source is read anew: the plug may have changed while the machine slept.
void WatchFanAfterSleep() {
    HoldFanAtEc(Asleep, false);
    PowerSourceTracker = {};
}

void HoldFanWhileSaving(bool saving) { HoldFanAtEc(Saving, saving); }

FanProfile::PowerSource FanSource() {
    return PowerSourceTracker.Started ? PowerSourceTracker.InForce
                                      : modPowerMan::SourceInUse(modPowerMan::ReadPowerStatus());
}

// One tick, one set of facts: the reading, the power status, the fan state and the
// settings are taken once here and handed to the fan step, the icons and the history,
// so that all of them see the same power source (the fan step's) and the same world.
void TimerMon_Timer() {
    const SettingsRecord& settings = modSettings::Settings;
    const uint8_t temperature = modAcerEC::ReadTemperature();
    const PowerStatusRecord power = modPowerMan::ReadPowerStatus();
    const auto profile = FanProfile::Follow(PowerSourceTracker, modPowerMan::SourceInUse(power), GetTickCount(), settings);
    const bool onBattery = profile.Source == FanProfile::PowerSource::Battery;
    // A hold of the safety rules forgets the fan state itself when it ends.
    if (profile.ForgetFanState && !SafetyGuard.Holding)
        modAcerEC::SetFanState(modAcerEC::FanStateUnknown);
    // The safety rules look at every tick, one without a reading too.
    const auto fan = FanSafety::DecideTickFan(SafetyGuard, temperature, profile.Fan.Control, modAcerEC::FanState(),
                                              profile.Fan.Thresholds);
    if (fan.ForgetFanState)
        modAcerEC::SetFanState(modAcerEC::FanStateUnknown);
    Apply(fan.Action);
    // Without a good reading the icons and the battery's text keep what the last good
    // tick left; a hand-back of the rules heads the tooltip from the tick it starts on to
    // the tick it ends on, with a reading or without.
    const bool goodReading = FanSafety::IsGoodReading(temperature);
    std::optional<BatteryText::BatteryStep> battery;
    if (goodReading) {
        battery = BatteryText::DecideBatteryStep(power, settings.ShowRemainingBattIcon);
        BatteryTip = battery->Tooltip;
    }
    const Alerts::Cause hold = Alerts::HoldCause(SafetyGuard);
    const std::string holdLine = Alerts::HoldLine(hold);
    SetTrayTip(holdLine.empty() ? BatteryTip : holdLine + "\n" + BatteryTip);
    if (battery) {
        DrawTemperatureIcon(temperature, modPowerMan::ThrottleModeFor(profile.Source), settings);
        if (battery->Icon == BatteryText::BatteryIconAction::Draw)
            DrawBatteryIcon(power.BatteryLifeTime, settings.SingleIconMode);
        else
            UpdateBatteryTrayIcon(TrayDelete);
    } else {
        UpdateMainTrayIcon(TrayModify);  // the tooltip alone; nothing is sent when it is as it was
    }
    // The disk APM level is kept in line here, also after a tick without a reading.
    if (const auto level = modDeviceControl::DiskApmLevelToSend(settings.PreventHDClicks,
                                                                 modDeviceControl::ApmLevelInForce()))
        modDeviceControl::SetDiskAPM(*level);
    modHistory::RecordTick(temperature, modAcerEC::FanState(), onBattery);
    frmHistory::TicksChanged();
    // The user hears of the rules taking the fan and of the mode taking it back once
    // each; the state follows every tick, also while alerts are off.
    const auto balloon = Alerts::AfterTick(AlertState, hold, temperature, GetTickCount());
    if (balloon && settings.ShowAlerts)
        ShowBalloon(balloon->icon == Alerts::Balloon::Icon::Warning, balloon->text);
}

}  // namespace frmMain
