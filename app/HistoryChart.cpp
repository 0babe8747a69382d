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
    const int64_t minutes = (seconds < 0 ? -seconds : seconds) / 60;
    return std::to_wstring(minutes / 60) + L':' + TwoDigits(minutes % 60);
}

// The marks fall on whole steps of the local wall clock, each placed at the tick time
// the clock read so: a setting of the clock breaks the axis, and marks on each side
// follow their own part; a change of the local offset (daylight saving) moves the marks
// after it.
void AddTimeMarks(Chart& chart, const Scale& scale, const TickHistory::Ring& ring, const Request& request) {
    const int64_t step = MarkStep(request.Span);
    const auto local = [&](int64_t time) {
        const int64_t utc = ring.Utc(time);
        return utc + request.LocalTime(utc).Offset;
    };
    std::vector<int64_t> edges{scale.From()};
    for (const TickHistory::ClockChange& change : ring.ClockChanges())
        if (change.Jump != 0 && change.Time > scale.From() && change.Time <= request.Now) {
            edges.push_back(change.Time);
            const std::wstring sign = change.Jump < 0 ? L"-" : L"+";
            chart.ClockBreaks.push_back({scale.X(change.Time), L"clock " + sign + HoursAndMinutes(change.Jump)});
        }
    edges.push_back(request.Now + 1);
    for (size_t part = 0; part + 1 < edges.size(); ++part) {
        for (int64_t time = edges[part]; time < edges[part + 1];) {
            const int64_t now = local(time);
            const int64_t wanted = (now >= 0 ? now + step - 1 : now) / step * step;
            int64_t at = time + (wanted - now);
            at += wanted - local(at);  // once more past an offset's change
            if (at >= edges[part + 1])
                break;
            if (at >= time && local(at) == wanted) {
                const int64_t ofDay = (wanted % 86400 + 86400) % 86400;
                chart.TimeMarks.push_back({scale.X(at), TwoDigits(ofDay / 3600) + L':' + TwoDigits(ofDay / 60 % 60)});
            }
            time = std::max(at, time) + 1;  // a local time that does not exist is left out
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
        const Point point{scale.X(tick.Time), scale.Y(tick.Temperature)};
        if (!joined || !near)
            chart.Lines.emplace_back();
        if (chart.Lines.back().empty() || !(chart.Lines.back().back() == point))
            chart.Lines.back().push_back(point);
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
