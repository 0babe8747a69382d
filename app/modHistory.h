#pragma once
// The ticks of the last day, kept in memory for the history window, and the clock they
// are dated by.
#include <cstdint>

#include "app/TickHistory.h"

namespace modHistory {

// Adds the tick that just ran: its reading (0 when it had no good one), the fan state
// it left and the power source last read.
void RecordTick(uint8_t temperature);

const TickHistory::Ring& Ticks();

// UTC seconds since 1970.
int64_t Now();
// The local time of a UTC time, by the time-zone rules of its date.
TickHistory::CivilTime LocalTime(int64_t utcSeconds);
// Seconds the local clock is ahead of UTC at that time.
int32_t UtcOffset(int64_t utcSeconds);

}  // namespace modHistory
