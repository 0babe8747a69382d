#pragma once
// The ticks of the last day, kept in memory for the history window, and the clock they
// are dated by.
#include <windows.h>

#include <cstdint>

#include "app/TickHistory.h"

namespace modHistory {

// Adds the tick that just ran: its reading (0 when it had no good one), the fan state
// it left (an unknown one keeps the last known) and its power source.
void RecordTick(uint8_t temperature, int32_t fanState, bool onBattery);

const TickHistory::Ring& Ticks();

// The ticks' own time now: seconds on the system's tick count, carried past its wrap
// every 49.7 days, which no setting of the wall clock moves.
int64_t Now();
// The wall clock: UTC seconds since 1970.
int64_t UtcNow();
// The local clock at a UTC time under a time-zone rule, by that rule's dates for the
// year (daylight saving included); UTC itself when it cannot be converted.
TickHistory::LocalClock LocalTime(int64_t utcSeconds, const TIME_ZONE_INFORMATION& zone);
// The same under the system's rule as it is now.
TickHistory::LocalTime LocalTimeNow();

}  // namespace modHistory
