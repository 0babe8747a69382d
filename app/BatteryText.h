#pragma once
// The battery part of a monitor tick: which tooltip the power status gives and
// whether the battery icon is drawn or removed. No OS calls, so it is tested natively.
#include <cstdint>
#include <string>

#include "system/PowerStatus.h"

namespace BatteryText {

enum class BatteryIconAction { Remove, Draw };

struct BatteryStep {
    std::string Tooltip;
    BatteryIconAction Icon;
};

BatteryStep DecideBatteryStep(const PowerStatusRecord& status, bool showRemainingBattIcon);

// seconds >= 0 as whole minutes, a half minute going to the even neighbour (30 s -> 0, 90 s -> 2).
int32_t MinutesFromSeconds(int32_t seconds);

// minutes >= 0, written as hours ":" two-digit minutes ("2:05", "10:00").
std::string RemainingTimeText(int32_t minutes);

}  // namespace BatteryText
