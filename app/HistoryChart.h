#pragma once
// The history window's chart as positions: where the temperature line, the fan band,
// the battery shading, the thresholds and the axes' marks go in a plot area, for a
// span of the ring of ticks. No OS calls, so it is tested natively; the window only
// draws what this gives.
#include <cstdint>
#include <string>
#include <vector>

#include "app/TickHistory.h"

namespace HistoryChart {

// The plot area in pixels; y grows downwards, as on the screen.
struct Rect {
    int Left, Top, Right, Bottom;
};
struct Point {
    int X, Y;
    bool operator==(const Point&) const = default;
};
// A position on an axis and its label.
struct Mark {
    int At;
    std::wstring Label;
    bool operator==(const Mark&) const = default;
};
// A threshold's line from x From to x To at y At, and its label.
struct Level {
    int From, To, At;
    std::wstring Label;
    bool operator==(const Level&) const = default;
};
// A stretch of the time axis, in pixels, and the fan state in it.
struct Run {
    int From, To;
    TickHistory::FanState Fan;
    bool operator==(const Run&) const = default;
};

// The custom fan mode's thresholds by power source, 0 for none (a source whose mode is
// not custom has none).
struct ThresholdLines {
    std::vector<int16_t> Mains;    // where the machine ran on the AC line, or did not run
    std::vector<int16_t> Battery;  // where it ran on battery
};

struct Request {
    int64_t Span;  // seconds shown, ending at Now
    int64_t Now;   // the ticks' own time (TickHistory::Tick::Time) at the right edge
    // Ticks further apart than this are not joined: the program was not running, or
    // the machine slept, in between. A tick's fan state and power source last until the
    // next tick, and no longer than this.
    int64_t GapSeconds;
    ThresholdLines Thresholds;
    // The wall clock's local time, for the time marks: each by its own date's rules.
    TickHistory::LocalTime LocalTime;
};

struct Chart {
    int Lowest = 0, Highest = 0;  // degrees at the bottom and the top of the plot
    std::vector<std::vector<Point>> Lines;  // the temperature, one line between gaps
    std::vector<Run> Fan;                   // where the fan was slow or auto
    std::vector<Run> Battery;               // where the machine ran on battery (Fan unused)
    std::vector<Level> Thresholds;          // each threshold's line over its stretches
    std::vector<Mark> TimeMarks;            // x, "HH:MM" on the wall clock's local time
    std::vector<Mark> ClockBreaks;          // x where the wall clock was set, "clock -5:00"
    std::vector<Mark> TemperatureMarks;     // y, "50"
};

Chart Layout(const TickHistory::Ring& ring, const Request& request, const Rect& plot);

}  // namespace HistoryChart
