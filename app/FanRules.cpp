#include "app/FanRules.h"

namespace FanRules {

namespace {
constexpr int32_t kOff = 0, kSlow = 1, kAuto = 2, kUnknown = 3;

FanAction Unless(int32_t fanState, int32_t wanted, FanAction action) {
    return fanState == wanted ? FanAction::None : action;
}
}  // namespace

FanAction CustomFanRule(int16_t t, int32_t f, const FanThresholds& th) {
    const int16_t s = th.Stop, w = th.Slow, a = th.Auto;
    // No stop and no slow threshold: the EC's own control is the only sensible mode.
    if (s <= 0 && w <= 0)
        return Unless(f, kAuto, FanAction::Auto);
    if ((s > 0 && t < s && f != kOff) || (w == 0 && a == 0))
        return FanAction::Off;
    if (a > 0 && t > a && f != kAuto)
        return FanAction::Auto;
    const bool fromOff = f == kOff && (t > w || s == 0);
    const bool downFromAuto = t < w && (f == kAuto || f == kUnknown);
    const bool slowOnly = s == 0 && a == 0;
    if (w > 0 && f != kSlow && (fromOff || downFromAuto || slowOnly)) {
        // Below the slow-mode threshold the fan is better off than slow.
        if (t >= th.SlowModeThreshold)
            return FanAction::Slow;
        return Unless(f, kOff, FanAction::Off);
    }
    return FanAction::None;
}

FanAction DecideFanAction(int16_t control, int16_t t, int32_t f, const FanThresholds& th) {
    switch (control) {
        case 0: return Unless(f, kOff, FanAction::Off);
        case 1: return Unless(f, kSlow, FanAction::Slow);
        case 2: return Unless(f, kAuto, FanAction::Auto);
        case 3: return CustomFanRule(t, f, th);
        default: return FanAction::None;
    }
}

}  // namespace FanRules
