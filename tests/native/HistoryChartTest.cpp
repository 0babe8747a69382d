#include "app/HistoryChart.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

using namespace HistoryChart;
using TickHistory::FanState;

namespace {

constexpr FanState O = FanState::Off, S = FanState::Slow, A = FanState::Auto;
// A day boundary in UTC, so that the clock marks are easy to read.
constexpr int64_t kMidnight = 1796083200;  // 2026-12-01 00:00:00 UTC
// 600 pixels for 600 seconds and 100 for the range: a pixel a second, 40 degrees in 100.
constexpr Rect kPlot{0, 0, 600, 100};

// The wall clock a fixed offset ahead of UTC: only the offset counts for the marks.
TickHistory::LocalTime Fixed(int32_t offset) {
    return [offset](int64_t) { return TickHistory::LocalClock{{}, offset}; };
}

struct T {
    int64_t at;  // seconds after the span's start
    uint8_t temperature;
    FanState fan = O;
    bool battery = false;
};

Chart Draw(const std::vector<T>& ticks, Request request = {600, kMidnight + 600, 10, {}, Fixed(0)},
           Rect plot = kPlot) {
    TickHistory::Ring ring(64);
    for (const T& t : ticks)
        ring.Add({request.Now - request.Span + t.at, t.temperature, t.fan, t.battery}, request.Now - request.Span + t.at);
    return Layout(ring, request, plot);
}

// Readings 40 to 60 give 30..70 degrees: y = 100 - (t - 30) * 100 / 40. A plot away
// from the corner moves every point with it.
TEST(HistoryChart, KnownTicksGiveKnownPoints) {
    EXPECT_EQ(Draw({{0, 50}, {300, 50}, {600, 50}}, {600, kMidnight + 600, 400, {}, Fixed(0)}, {100, 20, 400, 120}).Lines,
              (std::vector<std::vector<Point>>{{{100, 70}, {250, 70}, {400, 70}}}));
    const Chart chart = Draw({{0, 40}, {5, 50}, {10, 60}, {15, 50}});
    EXPECT_EQ(chart.Lowest, 30);
    EXPECT_EQ(chart.Highest, 70);
    EXPECT_EQ(chart.Lines, (std::vector<std::vector<Point>>{{{0, 75}, {5, 50}, {10, 25}, {15, 50}}}));
    EXPECT_EQ(chart.TemperatureMarks,
              (std::vector<Mark>{{100, L"30"}, {75, L"40"}, {50, L"50"}, {25, L"60"}, {0, L"70"}}));
}

// The line breaks at a tick without a reading and where ticks are further apart than
// the gap; the fan and the battery last from a tick to the next, no longer than the gap.
TEST(HistoryChart, GapsBreakTheLineAndTheBands) {
    const Chart chart = Draw({{0, 40, S}, {5, 0, S}, {10, 50, A, true}, {15, 50, A, true}, {40, 60, O, true},
                              {45, 60, S}, {50, 60, S}});
    EXPECT_EQ(chart.Lines, (std::vector<std::vector<Point>>{{{0, 75}}, {{10, 50}, {15, 50}}, {{40, 25}, {45, 25}, {50, 25}}}));
    EXPECT_EQ(chart.Fan, (std::vector<HistoryChart::Run>{{0, 10, S}, {10, 25, A}, {45, 60, S}}));
    EXPECT_EQ(chart.Battery, (std::vector<HistoryChart::Run>{{10, 25, O}, {40, 45, O}}));
}

// Ticks before the span: not drawn, but the state of the last one reaches in; ticks
// after its end are left out. Equal points are drawn once.
TEST(HistoryChart, OnlyTheSpanIsDrawn) {
    const Chart chart = Draw({{-20, 90, S}, {-4, 90, A, true}, {3, 40, S}, {3, 40}, {4, 40}, {700, 90, S}});
    EXPECT_EQ(chart.Highest, 50);  // the 90s are outside
    EXPECT_EQ(chart.Lines, (std::vector<std::vector<Point>>{{{3, 50}, {4, 50}}}));
    EXPECT_EQ(chart.Fan, (std::vector<HistoryChart::Run>{{0, 3, A}}));
    EXPECT_EQ(chart.Battery, (std::vector<HistoryChart::Run>{{0, 3, O}}));
}

// Each power source's thresholds widen the range and get their lines over its own
// stretches: the battery's from 200 to 400 s (a gap of 200 s joins the ticks), the AC
// line's over the rest; the same on both, one line crosses the plot.
TEST(HistoryChart, EachSourcesThresholdsOverItsStretches) {
    const auto draw = [](ThresholdLines lines) {
        return Draw({{0, 50}, {200, 50, O, true}, {400, 50}, {600, 50}}, {600, kMidnight + 600, 200, lines, Fixed(0)});
    };
    const Chart chart = draw({{60}, {40, 0}});  // 30..70
    EXPECT_EQ(chart.Thresholds, (std::vector<Level>{{0, 200, 25, L"60"}, {400, 600, 25, L"60"}, {200, 400, 75, L"40"}}));
    EXPECT_EQ(draw({{60, 65}, {60, 65}}).Thresholds, (std::vector<Level>{{0, 600, 33, L"60"}, {0, 600, 17, L"65"}}));
    EXPECT_EQ(draw({{1}, {}}).Lowest, 0);  // a threshold of 1 degree still counts for the range
    EXPECT_EQ(draw({{}, {40}}).Thresholds, (std::vector<Level>{{200, 400, 67, L"40"}}));  // 30..60
}

// Without readings the range is 30..90, and a short plot marks every 20 degrees.
TEST(HistoryChart, RangeFromReadings) {
    const Request request{600, kMidnight, 10, {}, Fixed(0)};
    const Chart shortPlot = Draw({{300, 0}}, request, {0, 0, 600, 60});  // a tick without a reading
    EXPECT_TRUE(shortPlot.Lines.empty());
    EXPECT_EQ(shortPlot.TemperatureMarks, (std::vector<Mark>{{60, L"30"}, {40, L"50"}, {20, L"70"}, {0, L"90"}}));
    EXPECT_EQ(Draw({{300, 0}}, request, {0, 0, 600, 96}).TemperatureMarks.size(), 7u);  // 16 px apart
    // Never below 0; a steady reading still gets 20 degrees.
    EXPECT_EQ(Draw({{0, 3}}).Lowest, 0);
    const Chart steady = Draw({{0, 45}, {5, 45}});
    EXPECT_EQ(steady.Lowest, 40);
    EXPECT_EQ(steady.Highest, 60);
}

// Marks at whole steps of the local clock, each where the clock read so: every 10
// minutes in an hour (half an hour behind UTC, across midnight; 1 s past a mark, the
// next one; +5:45 ahead), every 4 hours in a day with a spring change of daylight
// saving (the marks after it the local times of that side, not Now's offset carried
// back). The hour that repeats when daylight saving ends is marked again, in an hour
// and in 10 minutes, at whole and 30-minute offsets (EU: 03:00 CEST is 02:00 CET at 01:00
// UTC; Newfoundland: -2:30, then -3:30).
TEST(HistoryChart, TimeMarksFollowTheLocalClockAndItsOffset) {
    const auto change = [](int64_t at, int32_t before, int32_t after) -> TickHistory::LocalTime {
        return [=](int64_t utc) { return TickHistory::LocalClock{{}, utc < at ? before : after}; };
    };
    const int64_t fall = kMidnight + 3600;
    const struct { int64_t span, now; TickHistory::LocalTime rule; int width; const wchar_t* marks; } cases[] = {
        {3600, kMidnight + 3900, Fixed(-1800), 600, L"50 23:40,150 23:50,250 00:00,350 00:10,450 00:20,550 00:30,"},
        {600, kMidnight + 601, Fixed(0), 600, L"119 00:02,239 00:04,359 00:06,479 00:08,599 00:10,"},
        {3600, kMidnight + 3600, Fixed(20700), 600, L"50 05:50,150 06:00,250 06:10,350 06:20,450 06:30,550 06:40,"},
        {86400, kMidnight + 86400, change(kMidnight + 10 * 3600, 3600, 7200), 864,
         L"108 04:00,252 08:00,360 12:00,504 16:00,648 20:00,792 00:00,"},
        {3600, fall + 1800, change(fall, 7200, 3600), 600, L"0 02:30,100 02:40,200 02:50,300 02:00,400 02:10,500 02:20,600 02:30,"},
        {600, fall + 300, change(fall, 7200, 3600), 600, L"60 02:56,180 02:58,300 02:00,420 02:02,540 02:04,"},
        {3600, fall + 1800, change(fall, -9000, -12600), 600,
         L"0 22:00,100 22:10,200 22:20,300 21:30,400 21:40,500 21:50,600 22:00,"},
    };
    for (const auto& c : cases) {
        std::wstring marks;
        for (const Mark& mark : Draw({}, {c.span, c.now, 10, {}, c.rule}, {0, 0, c.width, 100}).TimeMarks)
            marks += std::to_wstring(mark.At) + L" " + mark.Label + L",";
        EXPECT_EQ(marks, c.marks);
    }
}

// Ticks 3 s apart on their own clock for ten minutes, the wall clock set back five hours
// at 201 s and forward two at 402 s: every tick drawn where its own time puts it, the
// newest at the right edge; each part of the axis marked by its own wall time, the
// settings drawn as labelled breaks; the summary over exactly the ticks drawn.
TEST(HistoryChart, TheWallClockSetBackAndForwardBreaksTheAxisNotTheLine) {
    constexpr int64_t kStart = 5000;  // the ticks' own clock, unrelated to the wall's
    TickHistory::Ring ring;
    for (int64_t at = 0; at <= 600; at += 3)
        ring.Add({kStart + at, 50, O, false}, kMidnight + at - (at >= 201 ? 5 * 3600 : 0) + (at >= 402 ? 2 * 3600 : 0));
    const Chart chart = Layout(ring, {600, kStart + 600, 10, {}, Fixed(0)}, kPlot);
    ASSERT_EQ(chart.Lines.size(), 1u);
    EXPECT_EQ(chart.Lines[0].size(), 201u);
    EXPECT_EQ(chart.Lines[0].front().X, 0);
    EXPECT_EQ(chart.Lines[0].back().X, 600);
    EXPECT_EQ(chart.ClockBreaks, (std::vector<Mark>{{201, L"clock -5:00"}, {402, L"clock +2:00"}}));
    EXPECT_EQ(chart.TimeMarks, (std::vector<Mark>{{0, L"00:00"}, {120, L"00:02"}, {240, L"19:04"}, {360, L"19:06"},
                                                  {480, L"21:08"}, {600, L"21:10"}}));
    EXPECT_EQ(TickHistory::StatisticsSince(ring, kStart).Ticks, chart.Lines[0].size());
}

// A day of ticks 3 s apart in 288 columns: each column keeps its highest and lowest
// point only (the same picture), in the order they came. Readings 40..60 in a plot 40
// high give 30..70 degrees, a pixel a degree: y = 70 - reading.
TEST(HistoryChart, EachColumnKeepsItsHighestAndLowestPoint) {
    TickHistory::Ring ring;
    std::map<int, std::pair<int, int>> extremes, drawn;  // column: highest and lowest y
    const auto widen = [](std::map<int, std::pair<int, int>>& columns, int x, int y) {
        const auto [at, fresh] = columns.try_emplace(x, y, y);
        at->second = {std::min(at->second.first, y), std::max(at->second.second, y)};
    };
    for (int64_t at = 3; at <= 86400; at += 3) {
        const auto reading = uint8_t(40 + at / 3 * 8 % 21);
        ring.Add({at, reading, O, false}, at);
        widen(extremes, int((at * 288 + 43200) / 86400), 70 - reading);
    }
    const Chart chart = Layout(ring, {86400, 86400, 10, {}, Fixed(0)}, {0, 0, 288, 40});
    ASSERT_EQ(chart.Lines.size(), 1u);
    std::map<int, int> points;
    for (const Point& point : chart.Lines[0]) {
        widen(drawn, point.X, point.Y);
        EXPECT_LE(++points[point.X], 2) << point.X;
    }
    EXPECT_EQ(drawn, extremes);
}

// A move of the clock under a minute (a time service's correction) re-dates the ticks
// with it, no break and no place taken; from a minute on it is a setting, labelled in
// hours and minutes, from two days on in days.
TEST(HistoryChart, CorrectionsMoveTheTicksSettingsBreakTheAxis) {
    const struct { int64_t move; const wchar_t* label; } cases[] = {
        {3, nullptr}, {59, nullptr}, {-59, nullptr}, {60, L"clock +0:01"}, {-(47 * 3600 + 59 * 60), L"clock -47:59"},
        {-48 * 3600, L"clock -2 days"}, {int64_t(3652) * 86400, L"clock +3652 days"},
    };
    for (const auto& c : cases) {
        TickHistory::Ring ring;
        ring.Add({5000, 50, O, false}, kMidnight);
        ring.Add({5300, 50, O, false}, kMidnight + 300 + c.move);
        EXPECT_EQ(ring.ClockChanges().size(), c.label ? 2u : 1u) << c.move;
        EXPECT_EQ(ring.Utc(5300), kMidnight + 300 + c.move) << c.move;
        const std::vector<Mark> breaks = Layout(ring, {600, 5300, 10, {}, Fixed(0)}, kPlot).ClockBreaks;
        EXPECT_EQ(breaks, (c.label ? std::vector<Mark>{{600, c.label}} : std::vector<Mark>()));
    }
}

}  // namespace
