#pragma once
// The fan mode and thresholds in force for a power source: on the AC line the Fan keys,
// on battery the Battery keys, each of which may defer to its AC line key. A plug that
// makes and loses contact must not switch the fan on and off, so a change of source
// counts only once two ticks in a row agree, and never within a minute of the last
// change. No OS calls, so it is tested natively.
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

// The source in force from tick to tick. A new one (start-up, a resume) takes the first
// reading at once.
struct Tracker {
    bool Started = false;
    PowerSource InForce = PowerSource::Mains;
    PowerSource LastRead = PowerSource::Mains;
    bool Switched = false;     // the source in force changed less than a pause ago
    uint32_t SwitchedAt = 0;   // then, in milliseconds of the system's tick count
};

// The least time between two changes of the source in force.
inline constexpr uint32_t SwitchPause = 60000;

struct TickProfile {
    PowerSource Source;
    Profile Fan;
    // The profile in force became another: its fan byte is due even where the fan state
    // matches, as after a mode chosen from the menu.
    bool ForgetFanState;
};

// One tick's reading of the power source at `now` (the tick count, in milliseconds):
// the first tick's counts at once; a change once two ticks in a row agree on it and
// SwitchPause has passed since the last change, however the readings flap.
TickProfile Follow(Tracker& tracker, PowerSource read, uint32_t now, const SettingsRecord& settings);

// The mode the tray menu checks and the mode a choice in it sets: BatteryControl on
// battery (below 0: as on the AC line), Control on the AC line.
int16_t& ChosenMode(SettingsRecord& settings, PowerSource source);

}  // namespace FanProfile
