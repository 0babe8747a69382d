#pragma once
// The last day of ticks, kept in memory for the history window: each tick's time,
// reading, fan state and power source, packed in 32 bits so that the day costs a fixed
// 115,200 bytes. Its statistics and its CSV text too. No OS calls, so it is tested natively.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace TickHistory {

// A day at the default tick of 3 seconds.
inline constexpr size_t Capacity = 28800;

enum class FanState : uint8_t { Off, Slow, Auto };

struct Tick {
    int64_t Time = 0;         // UTC seconds since 1970
    uint8_t Temperature = 0;  // as read: 0 is none, and so is anything but 1..99
    FanState Fan = FanState::Off;  // in force after the tick
    bool OnBattery = false;
    bool operator==(const Tick&) const = default;
};

// The newest ticks, oldest first. Times never go backwards in it: a tick read after the
// clock was set back takes the time of the one before it.
class Ring {
public:
    explicit Ring(size_t capacity = Capacity);

    // Overwrites the oldest tick when full. A tick more than 48 days after the newest
    // (the gap no longer fits) starts the history again: the older ticks could no longer
    // be dated.
    void Add(const Tick& tick);
    size_t Size() const { return count_; }

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

    std::unique_ptr<uint32_t[]> slots_;  // allocated at the first Add
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

// The local time of a UTC time, by the time-zone rules of that date.
using LocalTime = std::function<CivilTime(int64_t utcSeconds)>;

// "Time,Temperature,Fan,Power", then a line a tick, oldest first:
// "2026-12-09 14:05:03,47,off,mains", "2026-12-09 14:05:06,,auto,battery". CR LF ends
// each line.
std::string CsvText(const Ring& ring, const LocalTime& localTime);

}  // namespace TickHistory
