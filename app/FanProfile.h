#pragma once
// The fan mode and thresholds in force for a power source: on the AC line the Fan keys,
// on battery the Battery keys, each of which may defer to its AC line key. A plug that
// bounces must not make a storm of fan writes, so a change of source counts only once
// two ticks in a row agree. No OS calls, so it is tested natively.
#include <cstdint>

#include "app/FanRules.h"
#include "settings/SettingsRecord.h"
#include "system/PowerCommands.h"

namespace FanProfile {

// As for CPU throttling (modPowerMan::SourceInUse): unknown counts as the AC line.
using modPowerMan::PowerSource;

struct Profile {
    int16_t Control;  // 0 off, 1 slow, 2 auto, 3 custom; anything else no fan action
    FanRules::FanThresholds Thresholds;
    bool operator==(const Profile&) const = default;
};

// A battery key below 0 takes the AC line's key; 0 keeps its meaning (off, or no rule).
Profile ForSource(const SettingsRecord& settings, PowerSource source);

// The source in force from tick to tick.
struct Tracker {
    bool Started = false;
    PowerSource InForce = PowerSource::Mains;
    PowerSource LastRead = PowerSource::Mains;
};

struct TickProfile {
    PowerSource Source;
    Profile Fan;
    // The profile in force became another: its fan byte is due even where the fan state
    // matches, as after a mode chosen from the menu.
    bool ForgetFanState;
};

// One tick's reading of the power source: the first tick's counts at once, a change
// once two ticks in a row agree on it.
TickProfile Follow(Tracker& tracker, PowerSource read, const SettingsRecord& settings);

// The mode the tray menu checks and the mode a choice in it sets: BatteryControl on
// battery (below 0: as on the AC line), Control on the AC line.
int16_t& ChosenMode(SettingsRecord& settings, PowerSource source);

}  // namespace FanProfile
