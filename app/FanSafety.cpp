#include "app/FanSafety.h"

#include <algorithm>
#include <utility>

namespace FanSafety {

namespace {
constexpr int32_t kAuto = 2, kUnknown = 3;
}  // namespace

bool IsGoodReading(uint8_t temperature) { return temperature >= 1 && temperature <= 99; }

TickFan DecideTickFan(Guard& g, uint8_t reading, int16_t control, int32_t fanState,
                      const FanRules::FanThresholds& thresholds) {
    const bool good = IsGoodReading(reading);
    if (!good) {
        g.MissedReadings = std::min(g.MissedReadings + 1, MissedReadingsLimit);
    } else {
        g.MissedReadings = 0;
        // Between the two limits a critical spell goes on, and none starts.
        if (reading >= CriticalTemperature)
            g.Critical = true;
        else if (reading <= CooledTemperature)
            g.Critical = false;
    }

    if (g.Sleeping || g.Critical || g.MissedReadings >= MissedReadingsLimit) {
        g.Holding = true;
        return {fanState == kAuto ? FanRules::FanAction::None : FanRules::FanAction::Auto, false};
    }
    if (!good)
        return {FanRules::FanAction::None, false};  // one bad reading changes nothing
    const bool forget = std::exchange(g.Holding, false);
    return {FanRules::DecideFanAction(control, reading, forget ? kUnknown : fanState, thresholds),
            forget};
}

}  // namespace FanSafety
