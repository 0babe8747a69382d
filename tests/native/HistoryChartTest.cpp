#include "app/HistoryChart.h"

#include <gtest/gtest.h>

#include <vector>

using namespace HistoryChart;
using TickHistory::FanState;

namespace {

constexpr FanState O = FanState::Off, S = FanState::Slow, A = FanState::Auto;
// A day boundary in UTC, so that the clock marks are easy to read.
constexpr int64_t kMidnight = 1796083200;  // 2026-12-01 00:00:00 UTC
// 600 pixels for 600 seconds and 100 for the range: a pixel a second, 40 degrees in 100.
constexpr Rect kPlot{0, 0, 600, 100};

struct T {
    int64_t at;  // seconds after the span's start
    uint8_t temperature;
    FanState fan = O;
    bool battery = false;
};

Chart Draw(const std::vector<T>& ticks, Request request = {600, kMidnight + 600, 0, 10, {}}) {
    TickHistory::Ring ring(64);
    for (const T& t : ticks)
        ring.Add({request.Now - request.Span + t.at, t.temperature, t.fan, t.battery});
    return Layout(ring, request, kPlot);
}

// Readings 40 to 60 give 30..70 degrees: y = 100 - (t - 30) * 100 / 40. A plot away
// from the corner moves every point with it.
TEST(HistoryChart, KnownTicksGiveKnownPoints) {
    TickHistory::Ring ring;
    for (const int64_t at : {0, 300, 600})
        ring.Add({kMidnight + at, 50, O, false});
    EXPECT_EQ(Layout(ring, {600, kMidnight + 600, 0, 400, {}}, {100, 20, 400, 120}).Lines,
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
    Request request{600, kMidnight + 600, 0, 10, {}};
    const Chart chart = Draw({{-20, 90, S}, {-4, 90, A, true}, {3, 40}, {3, 40}, {4, 40}, {700, 90, S}}, request);
    EXPECT_EQ(chart.Highest, 50);  // the 90s are outside
    EXPECT_EQ(chart.Lines, (std::vector<std::vector<Point>>{{{3, 50}, {4, 50}}}));
    EXPECT_EQ(chart.Fan, (std::vector<HistoryChart::Run>{{0, 3, A}}));
    EXPECT_EQ(chart.Battery, (std::vector<HistoryChart::Run>{{0, 3, O}}));
}

// The custom mode's thresholds widen the range and get their lines; without readings
// the range is 30..90, and a short plot marks every 20 degrees.
TEST(HistoryChart, RangeFromReadingsAndThresholds) {
    const Chart withThresholds = Draw({{0, 45}}, {600, kMidnight + 600, 0, 10, {50, 60, 0, 65}});
    EXPECT_EQ(withThresholds.Lowest, 40);
    EXPECT_EQ(withThresholds.Highest, 70);
    EXPECT_EQ(withThresholds.Thresholds, (std::vector<Mark>{{67, L"50"}, {33, L"60"}, {17, L"65"}}));
    const Chart empty = Draw({{0, 0}});
    EXPECT_EQ(empty.Lowest, 30);
    EXPECT_EQ(empty.Highest, 90);
    EXPECT_TRUE(empty.Lines.empty());
    TickHistory::Ring ring;
    const Chart shortPlot = Layout(ring, {600, kMidnight, 0, 10, {}}, {0, 0, 600, 60});
    EXPECT_EQ(shortPlot.TemperatureMarks, (std::vector<Mark>{{60, L"30"}, {40, L"50"}, {20, L"70"}, {0, L"90"}}));
    // Never below 0; a steady reading still gets 20 degrees.
    EXPECT_EQ(Draw({{0, 3}}).Lowest, 0);
    const Chart steady = Draw({{0, 45}, {5, 45}});
    EXPECT_EQ(steady.Lowest, 40);
    EXPECT_EQ(steady.Highest, 60);
}

// Marks at whole steps of the local clock: every 2 minutes in 10 minutes, every 10 in
// an hour, every 4 hours in a day.
TEST(HistoryChart, TimeMarksFollowTheLocalClock) {
    TickHistory::Ring ring;
    const auto marks = [&](int64_t span, int64_t now, int32_t offset) {
        return Layout(ring, {span, now, offset, 10, {}}, {0, 0, 600, 100}).TimeMarks;
    };
    EXPECT_EQ(marks(600, kMidnight + 600, 3600),
              (std::vector<Mark>{{0, L"01:00"}, {120, L"01:02"}, {240, L"01:04"}, {360, L"01:06"}, {480, L"01:08"},
                                 {600, L"01:10"}}));
    EXPECT_EQ(marks(3600, kMidnight + 3900, -1800),
              (std::vector<Mark>{{50, L"23:40"}, {150, L"23:50"}, {250, L"00:00"}, {350, L"00:10"}, {450, L"00:20"},
                                 {550, L"00:30"}}));
    EXPECT_EQ(marks(600, kMidnight + 601, 0).front(), (Mark{119, L"00:02"}));  // 1 s past a mark: the next
    EXPECT_EQ(marks(86400, kMidnight + 3600, 0).front(), (Mark{75, L"04:00"}));
    EXPECT_EQ(marks(86400, kMidnight + 3600, 0).size(), 6u);
}

}  // namespace
