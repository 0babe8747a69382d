#pragma once
// The fan's safety rules, above the user's fan mode: the EC gets the fan while the CPU
// is critically hot, while the EC gives no readings, and from suspend to resume. No OS
// calls, so it is tested natively.
#include <cstdint>

#include "app/FanRules.h"

namespace FanSafety {

// A good reading this hot hands the fan to the EC whatever the mode...
inline constexpr int16_t CriticalTemperature = 90;
// ...and the chosen mode comes back with a reading this cool.
inline constexpr int16_t CooledTemperature = 80;
// Consecutive ticks without a good reading after which the EC gets the fan.
inline constexpr int MissedReadingsLimit = 5;

// 0 is an EC that did not answer, 100 and more no sensible reading.
bool IsGoodReading(uint8_t temperature);

// What the rules remember from tick to tick.
struct Guard {
    bool Critical = false;
    int MissedReadings = 0;  // consecutive, up to the limit
    bool Sleeping = false;  // from the suspend notice to a resume event
    bool Holding = false;  // the rules kept the fan at the EC on the last tick
};

struct TickFan {
    FanRules::FanAction Action;
    // The fan state becomes unknown before the action: the chosen mode takes over from
    // the rules' hold, so its register write is due again.
    bool ForgetFanState;
};

// The fan step of one tick, for any reading: while a rule holds, the fan goes to the
// EC (once, while the fan state is not auto); otherwise a good reading goes to the
// user's mode and a bad one changes nothing.
TickFan DecideTickFan(Guard& guard, uint8_t reading, int16_t control, int32_t fanState,
                      const FanRules::FanThresholds& thresholds);

}  // namespace FanSafety
