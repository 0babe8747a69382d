#pragma once
// The last day of ticks, kept in memory for the history window: each tick's time,
// reading, fan state and power source, packed in 32 bits so that the day costs a fixed
// 115,200 bytes, and the few times the wall clock was set. Its statistics and its CSV
// text too. No OS calls, so it is tested natively.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace TickHistory {

// The system's tick count (milliseconds, 32 bits) as seconds in 64: unsigned 32-bit
// differences carry it past its wrap every 49.7 days (Windows XP has no 64-bit one).
class TickClock {
public:
    explicit TickClock(uint32_t count) : last_(count) {}
    int64_t Seconds(uint32_t count) {
        elapsedMs_ += uint32_t(count - last_);
        last_ = count;
        return elapsedMs_ / 1000;
    }

private:
    uint32_t last_;
    int64_t elapsedMs_ = 0;
};

// A day at the default tick of 3 seconds.
inline constexpr size_t Capacity = 28800;

enum class FanState : uint8_t { Off, Slow, Auto };

struct Tick {
    // Seconds on the program's own clock (the system's tick count), which no setting of
    // the wall clock moves: the ticks are placed by it.
    int64_t Time = 0;
    uint8_t Temperature = 0;  // as read: 0 is none, and so is anything but 1..99
    FanState Fan = FanState::Off;  // in force after the tick
    bool OnBattery = false;
    bool operator==(const Tick&) const = default;
};

// Where the wall clock stood against the ticks' own: from the tick time `Time` on, UTC
// is `Utc` plus the seconds since, until the next change. `Jump` is how far the clock was
// set there (0 for where the history starts).
struct ClockChange {
    int64_t Time, Utc, Jump;
    bool operator==(const ClockChange&) const = default;
};
// A drift of the wall clock up to this many seconds is no setting of it.
inline constexpr int64_t ClockSlack = 2;
// A move smaller than this (a time service's correction) re-dates the ticks since the
// last setting, with no break in the chart and no place taken; one this large or larger
// is a setting of the clock.
inline constexpr int64_t ClockSetting = 60;
// At most this many are kept: a clock set more often than that dates its oldest ticks
// by a later setting.
inline constexpr size_t ClockChangesKept = 16;

// The newest ticks, oldest first. Times never go backwards in it.
class Ring {
public:
    explicit Ring(size_t capacity = Capacity);

    // Overwrites the oldest tick when full; `utc` is the wall clock's time at the tick
    // (UTC seconds since 1970). A tick more than 48 days after the newest (the gap no
    // longer fits) starts the history again: the older ticks could no longer be placed.
    void Add(const Tick& tick, int64_t utc);
    size_t Size() const { return count_; }

    // The wall clock's UTC seconds at a tick time, as it was set then.
    int64_t Utc(int64_t time) const;
    const std::vector<ClockChange>& ClockChanges() const { return clock_; }

    // Each tick, oldest first, rebuilt on the fly: the window repaints the whole ring
    // every tick, and a copy of it would grow the heap for good.
    template <typename F>
    void ForEach(F&& f) const { Walk(0, oldest_, f); }

    // The ticks at `from` or later, found from the newest back: a short span costs
    // only its own ticks.
    template <typename F>
    void ForEachSince(int64_t from, F&& f) const {
        int64_t time = 0;
        const size_t start = FirstSince(from, time);
        Walk(start, time, f);
    }

private:
    uint32_t Slot(size_t position) const {  // position 0 is the oldest
        const size_t at = first_ + position;
        return slots_[at < capacity_ ? at : at - capacity_];
    }
    static Tick Unpacked(uint32_t packed, int64_t time);
    // Bits 10-31: the seconds since the tick before (the layout is in the .cpp).
    static int64_t Difference(uint32_t packed) { return packed >> 10; }
    size_t FirstSince(int64_t from, int64_t& time) const;

    template <typename F>
    void Walk(size_t start, int64_t time, F& f) const {
        for (size_t position = start; position < count_; ++position) {
            const uint32_t packed = Slot(position);
            if (position != start)
                time += Difference(packed);
            f(Unpacked(packed, time));
        }
    }

    void ForgetOldClockChanges();

    std::unique_ptr<uint32_t[]> slots_;  // allocated at the first Add
    std::vector<ClockChange> clock_;     // oldest first; the first dates the oldest tick
    size_t capacity_;
    size_t first_ = 0, count_ = 0;
    int64_t oldest_ = 0, newest_ = 0;  // the times of the oldest and the newest tick
};

// A span's figures. Readings are the ticks with a good temperature (1..99).
struct Statistics {
    size_t Ticks = 0;
    size_t Readings = 0;
    uint8_t Lowest = 0, Highest = 0;  // of the readings; 0 without any
    uint32_t ReadingSum = 0;           // the average is ReadingSum / Readings
    size_t FanRunning = 0;             // ticks in which the fan ran, slow or auto
    size_t Switches = 0;               // neighbouring ticks of the span with different fan states
    bool operator==(const Statistics&) const = default;
};

Statistics StatisticsSince(const Ring& ring, int64_t from);

// "Lowest 41 °C, average 47.3 °C, highest 58 °C; fan running 35% of the time, 12 switches".
// Wide text, so that the degree sign is one on any code page.
std::wstring SummaryText(const Statistics& statistics);

struct CivilTime {
    int Year, Month, Day, Hour, Minute, Second;
    bool operator==(const CivilTime&) const = default;
};

// A UTC time on the local clock: its date and time, and the seconds the local clock is
// ahead of UTC then (daylight saving included).
struct LocalClock {
    CivilTime Time;
    int32_t Offset;
};

// The local clock at a UTC time, by the time-zone rules of that date.
using LocalTime = std::function<LocalClock(int64_t utcSeconds)>;

// "+01:00", "-05:30", "+00:00".
std::string OffsetText(int32_t seconds);

// "Time,Temperature,Fan,Power,UtcOffset", then a line a tick, oldest first, each with
// the wall-clock time it was recorded at and that time's own offset:
// "2026-12-09 14:05:03,47,off,mains,+01:00", "2026-12-09 14:05:06,,auto,battery,+01:00".
// CR LF ends each line.
std::string CsvText(const Ring& ring, const LocalTime& localTime);

}  // namespace TickHistory
