#include "app/FanRules.h"

#include <gtest/gtest.h>

namespace {

using FanRules::FanAction;
using FanRules::FanThresholds;

constexpr int32_t Off = 0, Slow = 1, Auto = 2, Unknown = 3;
constexpr auto None = FanAction::None, ToOff = FanAction::Off, ToSlow = FanAction::Slow,
               ToAuto = FanAction::Auto;
// Stop, Slow, Auto, slow-mode threshold.
constexpr FanThresholds kDefaults{50, 60, 65, 42}, kOnlySlow{0, 60, 0, 42}, kOnlyStop{50, 0, 0, 42},
    kOnlyAuto{0, 0, 65, 42}, kHighSlowMode{50, 60, 75, 70}, kNegative{-5, -1, 0, 42};

TEST(FanRules, CustomMode) {
    const struct { FanThresholds th; int16_t t; int32_t f; FanAction expected; } rows[] = {
        // the rule table with the default thresholds
        {kDefaults, 45, Auto, ToOff},     {kDefaults, 45, Off, None},        {kDefaults, 55, Off, None},
        {kDefaults, 61, Off, ToSlow},     {kDefaults, 66, Off, ToAuto},      {kDefaults, 63, Slow, None},
        {kDefaults, 62, Auto, None},      {kDefaults, 59, Auto, ToSlow},     {kDefaults, 49, Slow, ToOff},
        {kDefaults, 55, Unknown, ToSlow},
        // "under" Stop and "above" Slow and Auto are strict
        {kDefaults, 50, Slow, None},      {kDefaults, 60, Off, None},        {kDefaults, 65, Slow, None},
        {kDefaults, 60, Auto, None},
        // only Slow in use: slow from the slow-mode threshold on, and it stays slow; above it, from any state
        {kOnlySlow, 42, Off, ToSlow},     {kOnlySlow, 41, Auto, ToOff},      {kOnlySlow, 41, Off, None},
        {kOnlySlow, 10, Slow, None},      {kOnlySlow, 95, Auto, ToSlow},
        // Stop alone switches off on every tick, Auto alone hands the fan to the EC, at any temperature
        {kOnlyStop, 99, Auto, ToOff},     {kOnlyStop, 45, Off, ToOff},       {kOnlyAuto, 50, Off, ToAuto},
        {kOnlyAuto, 99, Auto, None},
        // below the slow-mode threshold a fan that is off stays off without a write
        {kHighSlowMode, 65, Off, None},   {kHighSlowMode, 55, Unknown, ToOff},
        // a negative Stop or Slow counts as unused
        {kNegative, 80, Off, ToAuto},
        // Stop and Slow without Auto: off stays off up to Slow; Stop and Auto without Slow: nothing between them
        {{50, 60, 0, 42}, 55, Off, None}, {{50, 0, 65, 42}, 55, Off, None},  {{50, 0, 65, 42}, 55, Auto, None},
        // thresholds of 1 are thresholds
        {{1, 0, 0, 42}, 30, Unknown, ToOff}, {{50, 60, 1, 42}, 45, Off, ToAuto},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.th.Stop << "/" << r.th.Slow << " T=" << r.t << " F=" << r.f);
        EXPECT_EQ(FanRules::DecideFanAction(3, r.t, r.f, r.th), r.expected);
    }
}

}  // namespace
