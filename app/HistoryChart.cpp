#include "app/HistoryChart.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "app/FanSafety.h"

namespace HistoryChart {

namespace {

using TickHistory::FanState;
using TickHistory::Tick;

constexpr int kEmptyLowest = 30, kEmptyHighest = 90;  // a span without readings
constexpr int kMargin = 5, kStep = 10, kSmallestRange = 20;
constexpr int kSmallestMarkGap = 16;  // pixels between temperature marks, or every other goes

int FloorTo(int value, int step) { return (value >= 0 ? value : value - step + 1) / step * step; }
int CeilTo(int value, int step) { return FloorTo(value + step - 1, step); }

// The time marks fall on whole steps of the local clock, about five to a span of the
// window's: 10 minutes, an hour, a day.
int64_t MarkStep(int64_t span) {
    if (span <= 600)
        return 120;
    return span <= 3600 ? 600 : 4 * 3600;
}

std::wstring TwoDigits(int64_t value) {
    return {wchar_t(L'0' + value / 10), wchar_t(L'0' + value % 10)};
}

class Scale {
public:
    Scale(const Request& request, const Rect& plot, int lowest, int highest)
        : from_(request.Now - request.Span), span_(std::max<int64_t>(request.Span, 1)), plot_(plot),
          lowest_(lowest), range_(highest - lowest) {}
    int X(int64_t time) const {
        const int64_t at = std::clamp<int64_t>(time - from_, 0, span_);
        return plot_.Left + int((at * (plot_.Right - plot_.Left) + span_ / 2) / span_);
    }
    int Y(int degrees) const {
        return plot_.Bottom - ((degrees - lowest_) * (plot_.Bottom - plot_.Top) + range_ / 2) / range_;
    }
    int64_t From() const { return from_; }

private:
    int64_t from_, span_;
    Rect plot_;
    int lowest_, range_;
};

// Adds a point to a line, keeping of each pixel column only its highest and lowest
// point, in the order they came: a day of ticks is tens of thousands of points for a
// few hundred columns, and a column's points draw no more than the line between them.
void AddPoint(std::vector<Point>& line, Point point) {
    const size_t size = line.size();
    if (size == 0 || line.back().X != point.X) {
        line.push_back(point);
    } else if (size == 1 || line[size - 2].X != point.X) {  // the column's second point
        if (line.back().Y != point.Y)
            line.push_back(point);
    } else {
        // Beyond one of the two, it takes that one's place, after the other.
        const bool firstHigher = line[size - 2].Y < line[size - 1].Y;  // y grows downwards
        const Point& higher = firstHigher ? line[size - 2] : line[size - 1];
        const Point& lower = firstHigher ? line[size - 1] : line[size - 2];
        const bool beyond = point.Y < higher.Y || point.Y > lower.Y;
        const bool replacesFirst = (point.Y < higher.Y) == firstHigher;
        if (beyond && replacesFirst)
            line[size - 2] = line[size - 1];
        if (beyond)
            line[size - 1] = point;
    }
}

// Adds the stretch from..to to the runs, joining it to the last one when they meet.
void Extend(std::vector<Run>& runs, int from, int to, FanState fan) {
    if (to <= from)
        return;
    if (!runs.empty() && runs.back().To == from && runs.back().Fan == fan)
        runs.back().To = to;
    else
        runs.push_back({from, to, fan});
}

void AddTemperatureMarks(Chart& chart, const Scale& scale, const Rect& plot) {
    const int steps = (chart.Highest - chart.Lowest) / kStep;
    const int step = (plot.Bottom - plot.Top) / steps < kSmallestMarkGap ? 2 * kStep : kStep;
    for (int degrees = chart.Lowest; degrees <= chart.Highest; degrees += step)
        chart.TemperatureMarks.push_back({scale.Y(degrees), std::to_wstring(degrees)});
}

std::wstring HoursAndMinutes(int64_t seconds) {
    const int64_t minutes = seconds / 60;
    return std::to_wstring(minutes / 60) + L':' + TwoDigits(minutes % 60);
}

// "clock -5:00"; from two days on in days: a clock synced from a flat battery's 2002
// moves by years.
std::wstring ClockLabel(int64_t jump) {
    const std::wstring sign = jump < 0 ? L"-" : L"+";
    const int64_t size = jump < 0 ? -jump : jump;
    if (size >= 48 * 3600)
        return L"clock " + sign + std::to_wstring(size / 86400) + L" days";
    return L"clock " + sign + HoursAndMinutes(size);
}

// The first tick time after `from`, up to `to`, at which the local offset is no longer
// `offset` (to + 1 when it holds to the end): one change at most lies between two marks.
template <typename Offset>
int64_t OffsetChange(int64_t from, int64_t to, int32_t offset, const Offset& offsetAt) {
    if (offsetAt(to) == offset)
        return to + 1;
    while (to - from > 1) {
        const int64_t middle = from + (to - from) / 2;
        (offsetAt(middle) == offset ? from : to) = middle;
    }
    return to;
}

// The marks fall on whole steps of the local wall clock, each placed at the tick time
// the clock read so: a setting of the clock breaks the axis, and marks on each side
// follow their own part; at a change of the local offset (daylight saving) the marks
// go on from the local time after it, the hour that repeats in autumn marked again.
void AddTimeMarks(Chart& chart, const Scale& scale, const TickHistory::Ring& ring, const Request& request) {
    const int64_t step = MarkStep(request.Span);
    const auto offsetAt = [&](int64_t time) { return request.LocalTime(ring.Utc(time)).Offset; };
    std::vector<int64_t> edges{scale.From()};
    for (const TickHistory::ClockChange& change : ring.ClockChanges())
        if (change.Jump != 0 && change.Time > scale.From() && change.Time <= request.Now) {
            edges.push_back(change.Time);
            chart.ClockBreaks.push_back({scale.X(change.Time), ClockLabel(change.Jump)});
        }
    edges.push_back(request.Now + 1);
    for (size_t part = 0; part + 1 < edges.size(); ++part) {
        const int64_t end = edges[part + 1];
        for (int64_t time = edges[part]; time < end;) {
            const int32_t offset = offsetAt(time);
            const int64_t local = ring.Utc(time) + offset;
            const int64_t wanted = (local >= 0 ? local + step - 1 : local) / step * step;
            const int64_t at = time + (wanted - local);
            const int64_t change = OffsetChange(time, std::min(at, end - 1), offset, offsetAt);
            if (change <= std::min(at, end - 1)) {
                time = change;  // the marks go on by the new offset
                continue;
            }
            if (at >= end)
                break;
            const int64_t ofDay = (wanted % 86400 + 86400) % 86400;
            chart.TimeMarks.push_back({scale.X(at), TwoDigits(ofDay / 3600) + L':' + TwoDigits(ofDay / 60 % 60)});
            time = at + 1;
        }
    }
}

// Each power source's thresholds over its stretches: the battery's over the battery
// runs, the AC line's over the rest. Where both are the same, one line crosses the plot.
void AddThresholds(Chart& chart, const Scale& scale, const Request& request, const Rect& plot) {
    std::vector<std::pair<int, int>> mains, battery;
    const ThresholdLines& lines = request.Thresholds;
    if (lines.Battery == lines.Mains || chart.Battery.empty()) {
        mains.emplace_back(plot.Left, plot.Right);
    } else {
        int at = plot.Left;
        for (const Run& run : chart.Battery) {
            if (run.From > at)
                mains.emplace_back(at, run.From);
            battery.emplace_back(run.From, run.To);
            at = run.To;
        }
        if (at < plot.Right)
            mains.emplace_back(at, plot.Right);
    }
    const auto add = [&](const std::vector<int16_t>& thresholds, const std::vector<std::pair<int, int>>& stretches) {
        for (int16_t threshold : thresholds)
            if (threshold > 0)
                for (const auto& [from, to] : stretches)
                    chart.Thresholds.push_back({from, to, scale.Y(threshold), std::to_wstring(threshold)});
    };
    add(lines.Mains, mains);
    add(lines.Battery, battery);
}

}  // namespace

Chart Layout(const TickHistory::Ring& ring, const Request& request, const Rect& plot) {
    Chart chart;
    const int64_t from = request.Now - request.Span;
    // The range: the span's readings and the thresholds, with room around them.
    int lowest = INT32_MAX, highest = INT32_MIN;
    const auto include = [&](int degrees) {
        lowest = std::min(lowest, degrees);
        highest = std::max(highest, degrees);
    };
    // One walk: a tick up to a gap before the span lasts into it, so its power source
    // counts (the battery's thresholds then count for the range); its reading does not.
    bool onBattery = false;
    ring.ForEachSince(from - request.GapSeconds, [&](const Tick& tick) {
        onBattery |= tick.OnBattery;
        if (tick.Time >= from && FanSafety::IsGoodReading(tick.Temperature) && tick.Time <= request.Now)
            include(tick.Temperature);
    });
    for (int16_t threshold : request.Thresholds.Mains)
        if (threshold > 0)
            include(threshold);
    if (onBattery)
        for (int16_t threshold : request.Thresholds.Battery)
            if (threshold > 0)
                include(threshold);
    if (lowest > highest) {
        chart.Lowest = kEmptyLowest;
        chart.Highest = kEmptyHighest;
    } else {
        chart.Lowest = std::max(0, FloorTo(lowest - kMargin, kStep));
        chart.Highest = std::max(CeilTo(highest + kMargin, kStep), chart.Lowest + kSmallestRange);
    }
    const Scale scale(request, plot, chart.Lowest, chart.Highest);

    // A tick's fan state and power source last until the next tick; the one before the
    // span counts for the part of it that reaches into the span.
    bool joined = false;  // the last point can be joined by the next one
    bool any = false;
    Tick last{};
    const auto close = [&](int64_t until) {
        const int64_t end = std::min({until, last.Time + request.GapSeconds, request.Now});
        const int x0 = scale.X(last.Time), x1 = scale.X(end);
        if (end > from && last.Fan != FanState::Off)
            Extend(chart.Fan, x0, x1, last.Fan);
        if (end > from && last.OnBattery)
            Extend(chart.Battery, x0, x1, FanState::Off);
    };
    ring.ForEachSince(from - request.GapSeconds, [&](const Tick& tick) {
        if (tick.Time > request.Now)
            return;
        if (any)
            close(tick.Time);
        const bool near = any && tick.Time - last.Time <= request.GapSeconds;
        any = true;
        last = tick;
        if (tick.Time < from || !FanSafety::IsGoodReading(tick.Temperature)) {
            joined = false;
            return;
        }
        if (!joined || !near)
            chart.Lines.emplace_back();
        AddPoint(chart.Lines.back(), {scale.X(tick.Time), scale.Y(tick.Temperature)});
        joined = true;
    });
    if (any)
        close(request.Now);

    AddThresholds(chart, scale, request, plot);
    AddTemperatureMarks(chart, scale, plot);
    AddTimeMarks(chart, scale, ring, request);
    return chart;
}

}  // namespace HistoryChart
