#include "app/modHistory.h"

#include <windows.h>

#include "app/FanSafety.h"
#include "ec/modAcerEC.h"

namespace modHistory {

namespace {

constexpr int64_t kTicksPerSecond = 10000000;
constexpr int64_t kEpochInFileTime = 11644473600;  // 1601 to 1970, in seconds

TickHistory::Ring history;
// A fan write that could not be made leaves the state unknown; the fan is still as the
// last known state left it. Before any, the EC drives it.
TickHistory::FanState lastFan = TickHistory::FanState::Auto;

TickHistory::TickClock tickClock(GetTickCount());

int64_t SecondsOf(const FILETIME& file) {
    const uint64_t ticks = uint64_t(file.dwHighDateTime) << 32 | file.dwLowDateTime;
    return int64_t(ticks / kTicksPerSecond) - kEpochInFileTime;
}

}  // namespace

void RecordTick(uint8_t temperature, int32_t fanState, bool onBattery) {
    if (fanState != modAcerEC::FanStateUnknown)
        lastFan = static_cast<TickHistory::FanState>(fanState);
    history.Add({Now(), FanSafety::IsGoodReading(temperature) ? temperature : uint8_t(0), lastFan, onBattery},
                UtcNow());
}

const TickHistory::Ring& Ticks() { return history; }

int64_t Now() { return tickClock.Seconds(GetTickCount()); }

int64_t UtcNow() {
    FILETIME file{};
    GetSystemTimeAsFileTime(&file);
    return SecondsOf(file);
}

TickHistory::LocalClock LocalTime(int64_t utcSeconds, const TIME_ZONE_INFORMATION& zone) {
    const uint64_t ticks = uint64_t(utcSeconds + kEpochInFileTime) * kTicksPerSecond;
    const FILETIME file{DWORD(ticks), DWORD(ticks >> 32)};
    SYSTEMTIME utc{}, local{};
    FileTimeToSystemTime(&file, &utc);
    TIME_ZONE_INFORMATION rule = zone;  // the call takes a pointer to a changeable one
    if (!SystemTimeToTzSpecificLocalTime(&rule, &utc, &local))
        local = utc;
    FILETIME localFile{};
    SystemTimeToFileTime(&local, &localFile);
    return {{local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond},
            int32_t(SecondsOf(localFile) - utcSeconds)};
}

TickHistory::LocalTime LocalTimeNow() {
    TIME_ZONE_INFORMATION zone{};
    GetTimeZoneInformation(&zone);
    return [zone](int64_t utcSeconds) { return LocalTime(utcSeconds, zone); };
}

}  // namespace modHistory
