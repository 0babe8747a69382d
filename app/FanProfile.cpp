#include "app/FanProfile.h"

namespace FanProfile {

namespace {
int16_t OrAcLine(int16_t battery, int16_t acLine) { return battery < 0 ? acLine : battery; }
}  // namespace

Profile ForSource(const SettingsRecord& settings, PowerSource source) {
    const FanSettings& fan = settings.Fan;
    Profile profile{fan.Control, {fan.Stop, fan.Slow, fan.Auto, settings.FanSlowModeThreshold}};
    if (source == PowerSource::Battery) {
        profile.Control = OrAcLine(fan.BatteryControl, fan.Control);
        profile.Thresholds.Stop = OrAcLine(fan.BatteryStop, fan.Stop);
        profile.Thresholds.Slow = OrAcLine(fan.BatterySlow, fan.Slow);
        profile.Thresholds.Auto = OrAcLine(fan.BatteryAuto, fan.Auto);
    }
    return profile;
}

TickProfile Follow(Tracker& tracker, PowerSource read, uint32_t now, const SettingsRecord& settings) {
    const PowerSource before = tracker.InForce;
    // Unsigned differences of the tick count carry it past its wrap.
    const bool rested = !tracker.Switched || now - tracker.SwitchedAt >= SwitchPause;
    tracker.Switched = !rested;  // else the tick count, wrapping, would bring the pause back
    if (!tracker.Started || (read != before && read == tracker.LastRead && rested))
        tracker.InForce = read;
    const bool changed = tracker.Started && tracker.InForce != before;
    if (changed) {
        tracker.Switched = true;
        tracker.SwitchedAt = now;
    }
    tracker.Started = true;
    tracker.LastRead = read;
    const Profile inForce = ForSource(settings, tracker.InForce);
    return {tracker.InForce, inForce, changed && !(inForce == ForSource(settings, before))};
}

int16_t& ChosenMode(SettingsRecord& settings, PowerSource source) {
    return source == PowerSource::Battery ? settings.Fan.BatteryControl : settings.Fan.Control;
}

}  // namespace FanProfile
