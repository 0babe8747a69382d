#include "app/modHistory.h"

#include <windows.h>

#include "app/FanSafety.h"
#include "ec/modAcerEC.h"
#include "system/modPowerMan.h"

namespace modHistory {

namespace {

constexpr int64_t kTicksPerSecond = 10000000;
constexpr int64_t kEpochInFileTime = 11644473600;  // 1601 to 1970, in seconds

TickHistory::Ring history;
// A fan write that could not be made leaves the state unknown; the fan is still as the
// last known state left it. Before any, the EC drives it.
TickHistory::FanState lastFan = TickHistory::FanState::Auto;

int64_t SecondsOf(const FILETIME& file) {
    const uint64_t ticks = uint64_t(file.dwHighDateTime) << 32 | file.dwLowDateTime;
    return int64_t(ticks / kTicksPerSecond) - kEpochInFileTime;
}

// The local time as a SYSTEMTIME; the UTC time itself when it cannot be converted.
SYSTEMTIME LocalSystemTime(int64_t utcSeconds) {
    const uint64_t ticks = uint64_t(utcSeconds + kEpochInFileTime) * kTicksPerSecond;
    const FILETIME file{DWORD(ticks), DWORD(ticks >> 32)};
    SYSTEMTIME utc{}, local{};
    FileTimeToSystemTime(&file, &utc);
    return SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local) ? local : utc;
}

}  // namespace

void RecordTick(uint8_t temperature) {
    const int32_t state = modAcerEC::FanState();
    if (state != modAcerEC::FanStateUnknown)
        lastFan = static_cast<TickHistory::FanState>(state);
    history.Add({Now(), FanSafety::IsGoodReading(temperature) ? temperature : uint8_t(0), lastFan,
                 modPowerMan::PowerStatus().ACLineStatus == 0});
}

const TickHistory::Ring& Ticks() { return history; }

int64_t Now() {
    FILETIME file{};
    GetSystemTimeAsFileTime(&file);
    return SecondsOf(file);
}

TickHistory::CivilTime LocalTime(int64_t utcSeconds) {
    const SYSTEMTIME local = LocalSystemTime(utcSeconds);
    return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

int32_t UtcOffset(int64_t utcSeconds) {
    const SYSTEMTIME local = LocalSystemTime(utcSeconds);
    FILETIME file{};
    SystemTimeToFileTime(&local, &file);
    return int32_t(SecondsOf(file) - utcSeconds);
}

}  // namespace modHistory
