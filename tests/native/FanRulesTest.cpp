#include <gtest/gtest.h>

#include "app/FanRules.h"

namespace {

using FanRules::FanAction;
using FanRules::FanThresholds;

constexpr int32_t Off = 0, Slow = 1, Auto = 2, Unknown = 3;
constexpr FanThresholds kDefaults{50, 60, 65, 42};

struct Row {
    int16_t temperature;
    int32_t fanState;
    FanAction expected;
};

// Custom mode with the default thresholds: every row of the rule table.
TEST(FanRules, CustomModeWithDefaultThresholds) {
    const Row rows[] = {
        {45, Auto, FanAction::Off},      {45, Off, FanAction::None},
        {55, Off, FanAction::None},      {61, Off, FanAction::Slow},
        {66, Off, FanAction::Auto},      {63, Slow, FanAction::None},
        {66, Slow, FanAction::Auto},     {62, Auto, FanAction::None},
        {59, Auto, FanAction::Slow},     {49, Slow, FanAction::Off},
        {45, Unknown, FanAction::Off},   {55, Unknown, FanAction::Slow},
        {62, Unknown, FanAction::None},  {70, Unknown, FanAction::Auto},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "T=" << row.temperature << " F=" << row.fanState);
        EXPECT_EQ(FanRules::DecideFanAction(3, row.temperature, row.fanState, kDefaults),
                  row.expected);
    }
}

TEST(FanRules, ThresholdsExactlyAtTheirValuesKeepTheMode) {
    // "under" Stop and "above" Slow/Auto are strict comparisons.
    EXPECT_EQ(FanRules::CustomFanRule(50, Slow, kDefaults), FanAction::None);
    EXPECT_EQ(FanRules::CustomFanRule(60, Off, kDefaults), FanAction::None);
    EXPECT_EQ(FanRules::CustomFanRule(65, Slow, kDefaults), FanAction::None);
    EXPECT_EQ(FanRules::CustomFanRule(60, Auto, kDefaults), FanAction::None);
}

TEST(FanRules, OnlyStopInUseSwitchesOffOnEveryTickAtAnyTemperature) {
    const FanThresholds onlyStop{50, 0, 0, 42};
    for (int32_t f : {Off, Slow, Auto, Unknown})
        for (int16_t t : {1, 49, 50, 99})
            EXPECT_EQ(FanRules::CustomFanRule(t, f, onlyStop), FanAction::Off);
}

TEST(FanRules, OnlyAutoInUseKeepsTheFanInAuto) {
    const FanThresholds onlyAuto{0, 0, 65, 42};
    for (int16_t t : {1, 64, 66, 99}) {
        EXPECT_EQ(FanRules::CustomFanRule(t, Unknown, onlyAuto), FanAction::Auto);
        EXPECT_EQ(FanRules::CustomFanRule(t, Off, onlyAuto), FanAction::Auto);
        EXPECT_EQ(FanRules::CustomFanRule(t, Auto, onlyAuto), FanAction::None);
    }
}

TEST(FanRules, OnlySlowInUseGoesSlowFromTheSlowModeThresholdAndStaysThere) {
    const FanThresholds onlySlow{0, 60, 0, 42};
    const Row rows[] = {
        {42, Off, FanAction::Slow},   {42, Auto, FanAction::Slow},  {42, Unknown, FanAction::Slow},
        {41, Auto, FanAction::Off},   {41, Unknown, FanAction::Off}, {41, Off, FanAction::None},
        {10, Slow, FanAction::None},  {95, Slow, FanAction::None},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "T=" << row.temperature << " F=" << row.fanState);
        EXPECT_EQ(FanRules::CustomFanRule(row.temperature, row.fanState, onlySlow), row.expected);
    }
}

TEST(FanRules, BelowTheSlowModeThresholdAFanThatIsOffStaysOffWithoutAWrite) {
    const FanThresholds highThreshold{50, 60, 75, 70};
    EXPECT_EQ(FanRules::CustomFanRule(65, Off, highThreshold), FanAction::None);
    EXPECT_EQ(FanRules::CustomFanRule(55, Unknown, highThreshold), FanAction::Off);
}

TEST(FanRules, NegativeStopAndSlowCountAsUnused) {
    const FanThresholds negative{-5, -1, 0, 42};
    EXPECT_EQ(FanRules::CustomFanRule(80, Off, negative), FanAction::Auto);
    EXPECT_EQ(FanRules::CustomFanRule(80, Auto, negative), FanAction::None);
}

TEST(FanRules, FixedModesWriteOnlyWhenTheFanStateDiffers) {
    struct Fixed {
        int16_t control;
        int32_t state;
        FanAction expected;
    };
    const Fixed rows[] = {
        {0, Unknown, FanAction::Off},  {0, Auto, FanAction::Off},   {0, Off, FanAction::None},
        {1, Unknown, FanAction::Slow}, {1, Off, FanAction::Slow},   {1, Slow, FanAction::None},
        {2, Unknown, FanAction::Auto}, {2, Slow, FanAction::Auto},  {2, Auto, FanAction::None},
        {7, Unknown, FanAction::None}, {-1, Off, FanAction::None},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "control=" << row.control << " F=" << row.state);
        // The temperature does not matter to a fixed mode.
        EXPECT_EQ(FanRules::DecideFanAction(row.control, 99, row.state, kDefaults), row.expected);
        EXPECT_EQ(FanRules::DecideFanAction(row.control, 1, row.state, kDefaults), row.expected);
    }
}

}  // namespace
