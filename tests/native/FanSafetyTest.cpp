#include "app/FanSafety.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using FanRules::FanAction;

constexpr int16_t ModeOff = 0, ModeSlow = 1, ModeAuto = 2, ModeCustom = 3, ModeNone = 7;
// Besides readings: suspend (the auto byte, then the hold) and resume (the hold ends).
constexpr int Suspend = -1, Resume = -2;

// Ticks over a fan that takes every write, starting as after start-up (state unknown);
// the bytes the EC would see, by mode name.
std::string Writes(int16_t control, const std::vector<int>& events) {
    FanSafety::Guard guard;
    int32_t fanState = 3;
    std::string writes;
    for (int event : events) {
        FanAction action = event == Suspend ? FanAction::Auto : FanAction::None;
        if (event < 0) {
            guard.Sleeping = event == Suspend;
        } else {
            const auto tick = FanSafety::DecideTickFan(guard, uint8_t(event), control, fanState, {50, 60, 65, 42});
            if (tick.ForgetFanState)
                fanState = 3;
            action = tick.Action;
        }
        static const char* const names[] = {"", "off ", "slow ", "auto "};
        writes += names[static_cast<int>(action)];
        if (action != FanAction::None)
            fanState = static_cast<int32_t>(action) - 1;
    }
    return writes;
}

// Critical heat, five ticks without a reading, and the time from suspend to resume each
// hand the fan to the EC until they are over.
TEST(FanSafety, GuardsHandTheFanToTheEcWhileTheyLast) {
    const struct { const char* what; int16_t control; std::vector<int> events; const char* writes; } rows[] = {
        // critical temperature, until it has cooled
        {"90 or more, then back at 80", ModeOff, {60, 92, 85, 81, 80, 60}, "off auto off "},
        {"89 is not critical", ModeOff, {60, 89, 60}, "off "},
        {"from 90; 81 is not cool enough", ModeOff, {60, 90, 81, 81}, "off auto "},
        {"100 and more are no reading, not critical", ModeOff, {60, 100, 150, 60}, "off "},
        {"slow mode comes back slow", ModeSlow, {60, 95, 50}, "slow auto slow "},
        {"a mode that never acts", ModeNone, {95, 95, 50}, "auto "},
        // the fan state is unknown afterwards, in every mode
        {"auto mode: written again afterwards", ModeAuto, {60, 95, 95, 50}, "auto auto "},
        {"bad readings do not end it", ModeOff, {60, 92, 0, 0, 85, 80}, "off auto off "},
        {"99 is a reading, a critical one", ModeOff, {60, 99, 60}, "off auto off "},
        // the fan state the rules left is unknown: in the band below Slow, slow again
        {"custom mode below Slow", ModeCustom, {55, 92, 55}, "slow auto slow "},
        // five ticks without a reading, until one comes
        {"four change nothing", ModeOff, {60, 0, 0, 0, 0, 60}, "off "},
        {"1 is a reading", ModeOff, {60, 1, 1, 1, 1, 1, 1, 60}, "off "},
        {"the fifth hands it back, once", ModeOff, {60, 0, 0, 0, 0, 0, 0, 0, 60}, "off auto off "},
        {"0, 100 and more all count", ModeOff, {60, 100, 255, 0, 200, 101}, "off auto "},
        {"a good reading starts the count again", ModeOff, {60, 0, 0, 0, 0, 60, 0, 0, 0, 0, 60}, "off "},
        {"critical when readings return", ModeOff, {60, 0, 0, 0, 0, 0, 95, 80}, "off auto off "},
        // from suspend to resume
        {"ticks between suspend and resume", ModeOff, {60, Suspend, 60, 60, Resume, 60}, "off auto off "},
        {"still critical after resume", ModeOff, {60, Suspend, 95, Resume, 85, 80}, "off auto off "},
        {"no reading yet after resume", ModeSlow, {60, Suspend, Resume, 0, 0, 60}, "slow auto slow "},
    };
    for (const auto& r : rows)
        EXPECT_EQ(Writes(r.control, r.events), r.writes) << r.what;
}

}  // namespace
