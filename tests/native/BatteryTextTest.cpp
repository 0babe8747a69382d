#include "app/BatteryText.h"

#include <gtest/gtest.h>

using namespace BatteryText;

constexpr auto Draw = BatteryIconAction::Draw, Remove = BatteryIconAction::Remove;

// The icon column holds what is drawn while the icon is switched on; off, it is always removed.
TEST(BatteryText, TooltipAndIconFromThePowerStatus) {
    const struct { uint8_t acLine, flag, percent; int32_t lifeTime; const char* tooltip; BatteryIconAction icon; }
    cases[] = {
        {0, 1, 87, 7500, "2:05 (87%)", Draw},
        {0, 1, 40, 0, "Battery: 40%", Remove},                             // unknown time
        {1, 1, 99, 7500, "Battery: 99%", Remove},                          // on mains the time is ignored
        {1, 9, 97, -1, "Battery: 97%", Remove},                            // high + charging on mains
        {255, 1, 60, 7500, "Battery: 60%", Remove},                        // unknown line counts as mains
        {0, 8, 42, 7500, "Charging: 42%", Remove},                         // charging wins over the time
        {0, 128, 0, 7500, "No battery", Remove},
        {1, 255, 255, -1, "Battery: 255%", Remove},                        // 128 within "unknown" is not 128
        {0, 1, 3, 1966049, "546:07 (3%)", Draw},                           // last minute count in range
        {0, 1, 3, 1966050, "Battery: 3%", Remove},                         // 32768 minutes
    };
    for (const auto& c : cases) {
        const PowerStatusRecord status{c.acLine, c.flag, c.percent, 0, c.lifeTime, 0};
        SCOPED_TRACE(testing::Message() << int(c.acLine) << "/" << int(c.flag) << "/" << c.lifeTime);
        EXPECT_EQ(DecideBatteryStep(status, true).Tooltip, c.tooltip);
        EXPECT_EQ(DecideBatteryStep(status, true).Icon, c.icon);
        EXPECT_EQ(DecideBatteryStep(status, false).Icon, Remove);
    }
}

// Whole minutes with halves going to the even neighbour, then hours and two-digit minutes.
TEST(BatteryText, RemainingTimeFromSeconds) {
    const struct { int32_t seconds; const char* text; } cases[] = {
        {29, "0:00"}, {30, "0:00"}, {31, "0:01"}, {89, "0:01"}, {90, "0:02"}, {540, "0:09"}, {570, "0:10"},
        {3600, "1:00"}, {INT32_MAX, "596523:14"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RemainingTimeText(MinutesFromSeconds(c.seconds)), c.text) << c.seconds << " s";
}
