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

// What the balloons have told the user so far.
struct State {
    Cause shown = Cause::None;  // the hold last warned about, until the mode is back
};

struct Balloon {
    enum class Icon { Info, Warning } icon;
    std::wstring text;  // wide, for the degree sign; under the balloon's 255 characters
    bool operator==(const Balloon&) const = default;
};

// The balloon of a tick, if any, given the tick's cause and reading. A hold nobody was
// warned about (sleep) ends without one.
std::optional<Balloon> AfterTick(State& state, Cause now, uint8_t reading);

}  // namespace Alerts
