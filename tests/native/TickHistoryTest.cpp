#include "app/TickHistory.h"

#include <gtest/gtest.h>

#include <iterator>
#include <utility>
#include <vector>

using namespace TickHistory;

namespace {

constexpr FanState O = FanState::Off, S = FanState::Slow, A = FanState::Auto;

// The i-th tick has temperature i + 1, so that a walk shows which ticks it gave.
Ring WithTimes(size_t capacity, const std::vector<int64_t>& times) {
    Ring ring(capacity);
    for (size_t i = 0; i < times.size(); ++i)
        ring.Add({times[i], uint8_t(i + 1), O, false}, times[i]);
    return ring;
}

std::vector<Tick> Ticks(const Ring& ring) {
    std::vector<Tick> ticks;
    ring.ForEach([&](const Tick& tick) { ticks.push_back(tick); });
    return ticks;
}

// 0 and 128 and more are none; 100..127 fit and are kept as read (statistics skip them).
TEST(TickHistory, EachFieldSurvivesThePacking) {
    const int64_t big = 4194303;  // every bit of the difference set
    std::vector<Tick> ticks = {{1000, 0, O, false},         {1003, 1, S, true},          {1003, 99, A, false},
                               {1003 + big, 127, A, true},  {1003 + big, 128, S, false}, {1005 + big, 255, O, true},
                               {1008 + big, 100, O, false}};
    Ring ring(8);
    for (const Tick& tick : ticks)
        ring.Add(tick, tick.Time);
    ticks[4].Temperature = ticks[5].Temperature = 0;
    EXPECT_EQ(Ticks(ring), ticks);
}

TEST(TickHistory, TimesAreRebuiltFromWholeSecondDifferences) {
    const struct { const char* what; size_t capacity; std::vector<int64_t> added, kept; } rows[] = {
        {"100 ms ticks share seconds", 8, {100, 100, 101, 101, 104}, {100, 100, 101, 101, 104}},
        {"never backwards", 8, {100, 103, 50, 53, 104}, {100, 103, 103, 103, 104}},
        {"wrapped twice after a set-back", 2, {100, 90, 95, 120, 121, 125}, {121, 125}},
        {"no capacity is one", 0, {5, 9}, {9}},
        {"the largest gap is kept", 4, {-10, 4194293}, {-10, 4194293}},
        {"a second more starts again", 4, {0, 4194304, 4194305}, {4194304, 4194305}},
        {"started again when full", 2, {0, 1, 2, 5000000, 5000003}, {5000000, 5000003}},
    };
    for (const auto& r : rows) {
        std::vector<int64_t> kept;
        for (const Tick& tick : Ticks(WithTimes(r.capacity, r.added)))
            kept.push_back(tick.Time);
        EXPECT_EQ(kept, r.kept) << r.what;
    }
}

TEST(TickHistory, ASpanStartsAtItsFirstTick) {
    const std::vector<int64_t> wrapped = {100, 103, 103, 110, 120}, setBack = {100, 103, 50, 104};
    const struct { std::vector<int64_t> times; int64_t from; std::vector<std::pair<int64_t, int>> ticks; } rows[] = {
        {wrapped, 103, {{103, 2}, {103, 3}, {110, 4}, {120, 5}}}, {wrapped, 104, {{110, 4}, {120, 5}}},
        {wrapped, 111, {{120, 5}}}, {wrapped, 120, {{120, 5}}}, {wrapped, 121, {}}, {{}, 0, {}},
        {setBack, 103, {{103, 2}, {103, 3}, {104, 4}}},
    };
    for (const auto& r : rows) {
        std::vector<std::pair<int64_t, int>> ticks;
        WithTimes(4, r.times).ForEachSince(r.from, [&](const Tick& t) { ticks.emplace_back(t.Time, t.Temperature); });
        EXPECT_EQ(ticks, r.ticks) << r.from;
    }
}

// Ticks 3 s apart from time 100.
TEST(TickHistory, StatisticsOfASpan) {
    const std::vector<std::pair<uint8_t, FanState>> mixed = {{41, O}, {58, S}, {47, A}, {0, A}, {120, O}};
    const struct { std::vector<std::pair<uint8_t, FanState>> ticks; int64_t from; Statistics expected; } rows[] = {
        {mixed, 0, {5, 3, 41, 58, 146, 3, 3}},
        {mixed, 105, {3, 1, 47, 47, 47, 2, 1}},  // a switch into the span is not in it
        {{{50, O}, {45, O}, {60, O}}, 0, {3, 3, 45, 60, 155, 0, 0}},
        {{{1, S}, {99, S}, {100, S}, {0, S}}, 0, {4, 2, 1, 99, 100, 4, 0}},
    };
    for (const auto& r : rows) {
        Ring ring(8);
        for (size_t i = 0; i < r.ticks.size(); ++i)
            ring.Add({int64_t(100 + 3 * i), r.ticks[i].first, r.ticks[i].second, false}, 0);
        EXPECT_EQ(StatisticsSince(ring, r.from), r.expected) << r.ticks.size() << " from " << r.from;
    }
}

// Average to a tenth and share to a percent, halves up.
TEST(TickHistory, SummaryOfASpan) {
    const struct { Statistics s; const wchar_t* text; } rows[] = {
        {{200, 2, 47, 48, 95, 1, 1},
         L"Lowest 47 \u00B0C, average 47.5 \u00B0C, highest 48 \u00B0C; fan running 1% of the time, 1 switch"},
        {{30, 20, 47, 48, 941, 20, 0},
         L"Lowest 47 \u00B0C, average 47.1 \u00B0C, highest 48 \u00B0C; fan running 67% of the time, 0 switches"},
        {{3, 0, 0, 0, 0, 3, 2}, L"No temperature readings in this span; fan running 100% of the time, 2 switches"},
        {{}, L"No temperature readings in this span"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(SummaryText(r.s), r.text);
}

// Ticks 3 s apart on their own clock while the wall clock drifts a second, is set back
// five hours, then forward two: each tick keeps the wall time it was recorded at, a
// jump shows as a jump, never as repeated times.
TEST(TickHistory, TheWallClockIsKeptAsItWasSet) {
    const int64_t t = 1796825103;  // 2026-12-09 14:05:03 UTC
    const int64_t walls[] = {t, t + 3, t + 7, t + 9 - 5 * 3600, t + 12 - 5 * 3600, t + 15 - 3 * 3600, t + 18 - 3 * 3600};
    Ring ring(48);
    for (size_t i = 0; i < std::size(walls); ++i)
        ring.Add({int64_t(1000 + 3 * i), 50, O, false}, walls[i]);
    EXPECT_EQ(ring.ClockChanges(),
              (std::vector<ClockChange>{{1000, t, 0}, {1009, t + 9 - 5 * 3600, -5 * 3600}, {1015, t + 15 - 3 * 3600, 2 * 3600}}));
    for (size_t i = 0; i < std::size(walls); ++i)
        EXPECT_EQ(ring.Utc(int64_t(1000 + 3 * i)), i == 2 ? walls[i] - 1 : walls[i]) << i;  // a drift of 1 s is no setting
    // Set more often than is kept: the newest settings stay, the oldest ticks take the next.
    for (int i = 0; i < 40; ++i)
        ring.Add({int64_t(1100 + i), 50, O, false}, t + 100 * i);
    EXPECT_EQ(ring.ClockChanges().size(), ClockChangesKept);
    EXPECT_EQ(ring.Utc(1139), t + 3900);
    // Settings dating only ticks that have left go.
    for (int i = 0; i < 48; ++i)
        ring.Add({int64_t(1200 + i), 50, O, false}, t + 3900 + 61 + i);
    EXPECT_EQ(ring.ClockChanges(), (std::vector<ClockChange>{{1139, t + 3900, 99}}));
}

// The tick count wraps every 49.7 days; the ticks' own time goes on.
TEST(TickHistory, TheTickClockGoesOnPastTheWrap) {
    TickClock clock(0xFFFFF000u);
    EXPECT_EQ(clock.Seconds(0xFFFFF000u), 0);
    EXPECT_EQ(clock.Seconds(0xFFFFFFFFu), 4);
    EXPECT_EQ(clock.Seconds(0x00000BB8u), 7);  // 4096 + 3000 ms
    EXPECT_EQ(clock.Seconds(0x00000BB9u), 7);
}

// Each tick by its own wall time and offset, under a rule given as data (an hour ahead,
// two from a switch, one again an hour later): the offset column tells the repeated hour
// apart.
TEST(TickHistory, CsvGivesEachTickItsOwnTimeAndOffset) {
    const int64_t t = 1796825103;  // 2026-12-09 14:05:03 UTC
    const auto local = [t](int64_t utc) {
        const int32_t offset = utc < t + 4 || utc >= t + 3606 ? 3600 : 7200;
        const int64_t late = utc - t + offset + 14 * 3600 + 5 * 60 + 3;  // seconds into 2026-12-09, locally
        return LocalClock{{2026, 12, int(9 + late / 86400), int(late / 3600 % 24), int(late / 60 % 60), int(late % 60)}, offset};
    };
    Ring ring(8);
    for (const Tick& tick : {Tick{0, 47, O, false}, Tick{3, 0, A, true}, Tick{6, 100, S, false},
                             Tick{3606, 50, S, false}, Tick{6 + 9 * 3600, 9, S, true}})
        ring.Add(tick, t + tick.Time);
    EXPECT_EQ(CsvText(ring, local),
              "Time,Temperature,Fan,Power,UtcOffset\r\n2026-12-09 15:05:03,47,off,mains,+01:00\r\n"
              "2026-12-09 15:05:06,,auto,battery,+01:00\r\n2026-12-09 16:05:09,,slow,mains,+02:00\r\n"
              "2026-12-09 16:05:09,50,slow,mains,+01:00\r\n2026-12-10 00:05:09,9,slow,battery,+01:00\r\n");
    EXPECT_EQ(OffsetText(19800), "+05:30");
    EXPECT_EQ(OffsetText(-12600), "-03:30");
}

}  // namespace
