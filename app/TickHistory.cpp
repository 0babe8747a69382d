#include "app/TickHistory.h"

#include <algorithm>
#include <iterator>

#include "app/FanSafety.h"

namespace TickHistory {

namespace {

// A tick in 32 bits: the temperature in bits 0-6, the fan state in 7-8, battery in 9,
// and in 10-31 the whole seconds since the tick before. Whole seconds telescope: the
// times rebuilt from the oldest add up exactly, however many differences are 0.
constexpr uint32_t kTemperatureMask = 0x7F, kFanMask = 0x3;
constexpr int kFanShift = 7, kBatteryShift = 9, kDifferenceShift = 10;  // Ring::Difference reads bits 10-31
constexpr int64_t kLargestDifference = (int64_t{1} << (32 - kDifferenceShift)) - 1;  // 48.5 days

uint32_t Packed(const Tick& tick, int64_t difference) {
    const uint32_t temperature = tick.Temperature <= kTemperatureMask ? tick.Temperature : 0;
    return temperature | (static_cast<uint32_t>(tick.Fan) & kFanMask) << kFanShift |
           uint32_t{tick.OnBattery} << kBatteryShift | static_cast<uint32_t>(difference) << kDifferenceShift;
}

// Zero-padded to `width` digits; the CSV's times are built without a formatting library.
void AppendPadded(std::string& text, int value, size_t width) {
    const std::string digits = std::to_string(value);
    if (digits.size() < width)
        text.append(width - digits.size(), '0');
    text += digits;
}

std::wstring Degrees(uint32_t degrees) { return std::to_wstring(degrees) + L" \u00B0C"; }

}  // namespace

Ring::Ring(size_t capacity) : capacity_(std::max<size_t>(capacity, 1)) {}

void Ring::Add(const Tick& tick, int64_t utc) {
    // Value-initialised: the zeroed storage is all committed from the first tick on,
    // so the program's memory does not creep up over the day.
    if (!slots_) {
        slots_ = std::make_unique<uint32_t[]>(capacity_);
        clock_.reserve(ClockChangesKept + 1);
    }
    // A gap too long to store starts the history again: the older ticks could no longer
    // be placed.
    if (count_ == 0 || tick.Time - newest_ > kLargestDifference) {
        slots_[first_] = Packed(tick, 0);
        count_ = 1;
        oldest_ = newest_ = tick.Time;
        clock_.assign(1, {newest_, utc, 0});
        return;
    }
    const int64_t difference = std::max<int64_t>(tick.Time - newest_, 0);
    const uint32_t packed = Packed(tick, difference);
    newest_ += difference;
    if (count_ < capacity_) {
        const size_t at = first_ + count_;
        slots_[at < capacity_ ? at : at - capacity_] = packed;
        ++count_;
    } else {
        // Full: the new tick takes the oldest's slot, and the next one becomes the oldest.
        slots_[first_] = packed;
        first_ = first_ + 1 == capacity_ ? 0 : first_ + 1;
        oldest_ += Difference(slots_[first_]);
    }
    const int64_t jump = utc - Utc(newest_);
    if (jump >= ClockSetting || -jump >= ClockSetting)
        clock_.push_back({newest_, utc, jump});
    else if (jump > ClockSlack || -jump > ClockSlack)
        clock_.back().Utc += jump;  // a correction moves the ticks since the last setting with it
    ForgetOldClockChanges();
}

// A change that only dates ticks that have left the ring goes; beyond the bound, the
// oldest goes and its ticks are dated by the next.
void Ring::ForgetOldClockChanges() {
    while (clock_.size() >= 2 && (clock_[1].Time <= oldest_ || clock_.size() > ClockChangesKept))
        clock_.erase(clock_.begin());
}

int64_t Ring::Utc(int64_t time) const {
    if (clock_.empty())
        return time;
    auto rule = clock_.end();
    while (rule != clock_.begin() && std::prev(rule)->Time > time)
        --rule;
    const ClockChange& change = rule == clock_.begin() ? *rule : *std::prev(rule);
    return change.Utc + (time - change.Time);
}

Tick Ring::Unpacked(uint32_t packed, int64_t time) {
    return {time, static_cast<uint8_t>(packed & kTemperatureMask),
            static_cast<FanState>(packed >> kFanShift & kFanMask), (packed >> kBatteryShift & 1) != 0};
}

size_t Ring::FirstSince(int64_t from, int64_t& time) const {
    if (count_ == 0 || newest_ < from)
        return count_;
    size_t position = count_ - 1;
    time = newest_;
    while (position > 0 && time - Difference(Slot(position)) >= from) {
        time -= Difference(Slot(position));
        --position;
    }
    return position;
}

Statistics StatisticsSince(const Ring& ring, int64_t from) {
    Statistics s;
    FanState previous = FanState::Off;
    ring.ForEachSince(from, [&](const Tick& tick) {
        if (s.Ticks > 0 && tick.Fan != previous)
            ++s.Switches;
        previous = tick.Fan;
        ++s.Ticks;
        if (tick.Fan != FanState::Off)
            ++s.FanRunning;
        if (FanSafety::IsGoodReading(tick.Temperature)) {
            s.Lowest = s.Readings == 0 ? tick.Temperature : std::min(s.Lowest, tick.Temperature);
            s.Highest = std::max(s.Highest, tick.Temperature);
            s.ReadingSum += tick.Temperature;
            ++s.Readings;
        }
    });
    return s;
}

std::wstring SummaryText(const Statistics& s) {
    std::wstring text;
    if (s.Readings == 0) {
        text = L"No temperature readings in this span";
    } else {
        // Rounded to tenths in whole numbers: no floating-point formatting in the program.
        const uint64_t tenths = (uint64_t{s.ReadingSum} * 10 + s.Readings / 2) / s.Readings;
        text = L"Lowest " + Degrees(s.Lowest) + L", average " + std::to_wstring(tenths / 10) + L'.' +
               std::to_wstring(tenths % 10) + L" \u00B0C, highest " + Degrees(s.Highest);
    }
    if (s.Ticks == 0)
        return text;
    const size_t percent = (s.FanRunning * 100 + s.Ticks / 2) / s.Ticks;
    return text + L"; fan running " + std::to_wstring(percent) + L"% of the time, " + std::to_wstring(s.Switches) +
           (s.Switches == 1 ? L" switch" : L" switches");
}

std::string OffsetText(int32_t seconds) {
    std::string text(1, seconds < 0 ? '-' : '+');
    const int32_t minutes = (seconds < 0 ? -seconds : seconds) / 60;
    AppendPadded(text, minutes / 60, 2);
    text += ':';
    AppendPadded(text, minutes % 60, 2);
    return text;
}

std::string CsvText(const Ring& ring, const LocalTime& localTime) {
    static constexpr char kHeader[] = "Time,Temperature,Fan,Power,UtcOffset\r\n";
    static constexpr const char* kFanNames[] = {"off", "slow", "auto"};
    std::string text;
    // About 50 bytes a line, so that a full day's text is built without reallocating.
    text.reserve(sizeof kHeader + ring.Size() * 50);
    text += kHeader;
    ring.ForEach([&](const Tick& tick) {
        const LocalClock local = localTime(ring.Utc(tick.Time));
        const CivilTime& t = local.Time;
        const struct { int value; size_t width; char after; } fields[] = {
            {t.Year, 4, '-'}, {t.Month, 2, '-'}, {t.Day, 2, ' '}, {t.Hour, 2, ':'}, {t.Minute, 2, ':'}, {t.Second, 2, ','}};
        for (const auto& field : fields) {
            AppendPadded(text, field.value, field.width);
            text += field.after;
        }
        if (FanSafety::IsGoodReading(tick.Temperature))
            text += std::to_string(tick.Temperature);
        text += ',';
        text += kFanNames[static_cast<size_t>(tick.Fan)];
        text += tick.OnBattery ? ",battery," : ",mains,";
        text += OffsetText(local.Offset);
        text += "\r\n";
    });
    return text;
}

}  // namespace TickHistory
