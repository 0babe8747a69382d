#pragma once
// When the tray shows a balloon: once as the fan's safety rules take the fan from the
// chosen mode for a new reason, and once as the mode takes it back. No OS calls, so it
// is tested natively.
#include <cstdint>
#include <optional>
#include <string>

#include "app/FanSafety.h"

namespace Alerts {

// Why the rules hold the fan at the EC, the most serious reason first when several do.
enum class Cause { None, Sleeping, NoReadings, Critical };

Cause HoldCause(const FanSafety::Guard& guard);

// After an all-clear, the same cause stays quiet this long (an EC that misses five reads,
// answers one and misses again would otherwise make a pair of balloons every few ticks).
inline constexpr uint32_t QuietMs = 10 * 60 * 1000;

// What the balloons have told the user so far.
struct State {
    Cause shown = Cause::None;  // the hold last warned about, until the mode is back
    Cause quiet = Cause::None;  // the cause of the last all-clear...
    uint32_t clearedAt = 0;     // ...and when, on the tick count
};

struct Balloon {
    enum class Icon { Info, Warning } icon;
    std::wstring text;  // wide, for the degree sign; under the balloon's 255 characters
    bool operator==(const Balloon&) const = default;
};

// The balloon of a tick, if any, given the tick's cause and reading and the tick count
// in milliseconds (differences taken modulo 2^32, so its wrap does no harm). A hold
// nobody was warned about (sleep, or one within the quiet after its cause's all-clear)
// ends without one; one still on when the quiet ends is warned of then.
std::optional<Balloon> AfterTick(State& state, Cause now, uint8_t reading, uint32_t nowMs);

// The tooltip's first line while the rules hold the fan at the EC, "" otherwise.
const char* HoldLine(Cause cause);

}  // namespace Alerts
