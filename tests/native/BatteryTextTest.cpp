#include <gtest/gtest.h>

#include "app/BatteryText.h"

using namespace BatteryText;

namespace {

struct BatteryCase {
    const char* name;
    uint8_t acLine;
    uint8_t flag;
    uint8_t percent;
    int32_t lifeTime;
    bool showIcon;
    const char* tooltip;
    BatteryIconAction icon;
};

constexpr auto Draw = BatteryIconAction::Draw;
constexpr auto Remove = BatteryIconAction::Remove;

const BatteryCase kBatteryCases[] = {
    {"TwoHoursFiveOnBattery", 0, 1, 87, 7500, true, "2:05 (87%)", Draw},
    {"TimeWithIconOff", 0, 1, 87, 7500, false, "2:05 (87%)", Remove},
    {"HalfMinuteRoundsToEvenZero", 0, 2, 5, 30, true, "0:00 (5%)", Draw},
    {"TwoAndAHalfMinutesRoundToTwo", 0, 2, 5, 150, true, "0:02 (5%)", Draw},
    {"TenHoursExactly", 0, 1, 100, 36000, true, "10:00 (100%)", Draw},
    {"UnknownPercentIs255", 0, 1, 255, 7500, true, "2:05 (255%)", Draw},
    {"UnknownTimeOnBattery", 0, 1, 40, -1, true, "Battery: 40%", Remove},
    {"ZeroTimeOnBattery", 0, 1, 40, 0, true, "Battery: 40%", Remove},
    {"MainsWithTimeIgnoresTime", 1, 1, 99, 7500, true, "Battery: 99%", Remove},
    {"ChargingHighOnMainsIsNotCharging", 1, 9, 97, -1, true, "Battery: 97%", Remove},
    {"UnknownAcLineCountsAsMains", 255, 1, 60, 7500, true, "Battery: 60%", Remove},
    {"Charging", 1, 8, 42, -1, true, "Charging: 42%", Remove},
    {"ChargingWinsOverBatteryTime", 0, 8, 42, 7500, true, "Charging: 42%", Remove},
    {"NoBattery", 1, 128, 255, -1, true, "No battery", Remove},
    {"NoBatteryWinsOverBatteryTime", 0, 128, 0, 7500, true, "No battery", Remove},
    {"NoBatteryCombinedWithUnknownIsNotNoBattery", 1, 255, 255, -1, true, "Battery: 255%", Remove},
    {"LastMinuteCountInRange", 0, 1, 3, 1966049, true, "546:07 (3%)", Draw},
    {"MinuteCountOutOfRangeIsUnknown", 0, 1, 3, 1966050, true, "Battery: 3%", Remove},
    {"LargestTimeIsUnknown", 0, 1, 3, INT32_MAX, true, "Battery: 3%", Remove},
};

class BatteryStepTest : public testing::TestWithParam<BatteryCase> {};

TEST_P(BatteryStepTest, GivesTooltipAndIcon) {
    const BatteryCase& c = GetParam();
    PowerStatusRecord status;
    status.ACLineStatus = c.acLine;
    status.BatteryFlag = c.flag;
    status.BatteryLifePercent = c.percent;
    status.BatteryLifeTime = c.lifeTime;
    const BatteryStep step = DecideBatteryStep(status, c.showIcon);
    EXPECT_EQ(step.Tooltip, c.tooltip);
    EXPECT_EQ(step.Icon, c.icon);
}

INSTANTIATE_TEST_SUITE_P(Cases, BatteryStepTest, testing::ValuesIn(kBatteryCases),
                         [](const testing::TestParamInfo<BatteryCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(MinutesFromSecondsTest, RoundsHalvesToEven) {
    const struct { int32_t seconds, minutes; } cases[] = {
        {0, 0},   {29, 0},  {30, 0},  {31, 1},  {59, 1},       {60, 1},
        {89, 1},  {90, 2},  {91, 2},  {149, 2}, {150, 2},      {151, 3},
        {210, 4}, {270, 4}, {7500, 125}, {1966050, 32768}, {INT32_MAX, 35791394},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MinutesFromSeconds(c.seconds), c.minutes) << c.seconds << " s";
}

TEST(RemainingTimeTextTest, PadsMinutesToTwoDigits) {
    const struct { int32_t minutes; const char* text; } cases[] = {
        {0, "0:00"}, {5, "0:05"}, {9, "0:09"}, {10, "0:10"}, {59, "0:59"},
        {60, "1:00"}, {125, "2:05"}, {600, "10:00"}, {32767, "546:07"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RemainingTimeText(c.minutes), c.text) << c.minutes << " min";
}

}  // namespace
