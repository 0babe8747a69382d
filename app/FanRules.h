#pragma once
// The fan decision of one monitor tick: which fan operation, if any, brings the fan
// into the mode the user asked for. No OS calls, so it is tested natively.
#include <cstdint>

namespace FanRules {

enum class FanAction { None, Off, Slow, Auto };

// Custom mode thresholds in degrees Celsius; 0 switches a threshold off.
struct FanThresholds {
    int16_t Stop;               // "Stop fan under"
    int16_t Slow;               // "Start fan in slow mode at"
    int16_t Auto;               // "Start fan in auto mode at"
    int16_t SlowModeThreshold;  // lowest temperature that may choose slow
    bool operator==(const FanThresholds&) const = default;
};

// control: 0 off, 1 slow, 2 auto, 3 custom; anything else never acts.
// fanState: what was last written (0 off, 1 slow, 2 auto, 3 unknown).
FanAction DecideFanAction(int16_t control, int16_t temperature, int32_t fanState,
                          const FanThresholds& thresholds);

// The threshold rules with their hysteresis, tried in a fixed order.
FanAction CustomFanRule(int16_t temperature, int32_t fanState, const FanThresholds& thresholds);

}  // namespace FanRules
