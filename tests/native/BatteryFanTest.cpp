// The fan on battery: the mode and thresholds each power source takes and when a change
// of source counts (the configuration dialog's battery lists are in ConfigFormTest, the
// history's threshold lines by power source in HistoryChartTest).
#include <gtest/gtest.h>

#include "app/FanProfile.h"

namespace {

using namespace FanProfile;
constexpr PowerSource M = PowerSource::Mains, B = PowerSource::Battery;

SettingsRecord WithFan(FanSettings fan) {
    SettingsRecord settings;
    settings.Fan = fan;
    settings.FanSlowModeThreshold = 42;
    return settings;
}

// Each battery key on its own: below 0 the AC line's, 0 and up its own; the AC line's
// profile never takes a battery key; only ACLineStatus 0 is battery, 255 (unknown) not.
TEST(BatteryFan, EachPowerSourceTakesItsOwnModeAndThresholds) {
    const struct { FanSettings fan; uint8_t acLine; Profile expected; } cases[] = {
        {{2, 50, 60, 65, 0, -1, -1, -1}, 0, {0, {50, 60, 65, 42}}},
        {{2, 50, 60, 65, 0, -1, -1, -1}, 255, {2, {50, 60, 65, 42}}},  // unknown: the AC line
        {{1, 50, 60, 65, -5, -2, -32768, 0}, 0, {1, {50, 60, 0, 42}}},  // any negative: as on the AC line
        {{3, 50, 60, 65, 7, 45, 55, 62}, 0, {7, {45, 55, 62, 42}}},
        {{3, 50, 60, 65, 7, 45, 55, 62}, 1, {3, {50, 60, 65, 42}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.fan.BatteryControl << " " << int(c.acLine));
        EXPECT_EQ(ForSource(WithFan(c.fan), modPowerMan::SourceInUse({.ACLineStatus = c.acLine})), c.expected);
    }
}

// The first tick counts at once; a change counts once two ticks in a row agree (a plug
// that flaps: below), and forgets the fan state only where the two profiles differ.
TEST(BatteryFan, AChangeOfSourceCountsOnceTwoTicksAgree) {
    const struct { const char* name; FanSettings fan; std::vector<PowerSource> reads; const char* expected; } cases[] = {
        {"starts on battery", {2, 50, 60, 65, 0, -1, -1, -1}, {B, B, M, M, M}, "B B B M! M"},
        {"the same profile", {2, 50, 60, 65, -1, -1, -1, -1}, {M, B, B}, "M M B"},
        {"thresholds alone", {3, 50, 60, 65, -1, 40, -1, -1}, {M, B, B}, "M M B!"},
    };
    for (const auto& c : cases) {
        Tracker tracker;
        std::string seen;
        uint32_t now = 0;
        for (const PowerSource read : c.reads) {
            const TickProfile tick = Follow(tracker, read, now += 3000, WithFan(c.fan));
            EXPECT_EQ(tick.Fan, ForSource(WithFan(c.fan), tick.Source));
            seen += std::string(seen.empty() ? "" : " ") + (tick.Source == B ? "B" : "M") + (tick.ForgetFanState ? "!" : "");
        }
        EXPECT_EQ(seen, c.expected) << c.name;
    }
}

// A plug that makes contact for 6 s and loses it for 6 s, ticks 3 s apart, across the
// tick count's wrap: a change at most once a minute. A resume starts the tracker anew:
// its first reading counts at once, however recent the last change.
TEST(BatteryFan, AFlappingPlugChangesTheSourceAtMostOnceAMinute) {
    const SettingsRecord settings = WithFan({3, 50, 60, 65, 0, -1, -1, -1});
    Tracker tracker;
    std::vector<uint32_t> changes;
    const uint32_t start = 0xFFFF0000;
    for (uint32_t seconds = 0; seconds <= 150; seconds += 3)
        if (Follow(tracker, seconds / 6 % 2 ? B : M, start + seconds * 1000, settings).ForgetFanState)
            changes.push_back(seconds);
    EXPECT_EQ(changes, (std::vector<uint32_t>{9, 75, 141}));
    tracker = {};
    EXPECT_EQ(Follow(tracker, M, start + 153000, settings).Source, M);
    // Exactly a minute after a change the next one may come, a second sooner not; the
    // tick count's wrap (2^32 ms later) brings no pause back.
    for (const auto& [seconds, read, source] : {std::tuple{156u, B, M}, {159u, B, B}, {215u, M, B}, {218u, M, B}, {219u, M, M},
                                                {280u, M, M}, {4295190u, B, M}, {4295193u, B, B}})
        EXPECT_EQ(Follow(tracker, read, start + seconds * 1000, settings).Source, source) << seconds;
}

}  // namespace
