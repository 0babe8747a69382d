#include "app/Alerts.h"

#include <utility>

namespace Alerts {

namespace {

std::wstring Degrees(int degrees) { return std::to_wstring(degrees) + L" \u00B0C"; }

std::wstring WarningText(Cause cause, uint8_t reading) {
    if (cause == Cause::NoReadings)
        return L"The EC gave no temperature for " + std::to_wstring(FanSafety::MissedReadingsLimit) +
               L" ticks: the fan is back under its control until a reading returns.";
    // A critical spell starts on a good reading; the fallback only keeps "0 °C" off the screen.
    const std::wstring heat = FanSafety::IsGoodReading(reading) ? Degrees(reading) : L"Critically hot";
    return heat + L": the fan is back under the EC's control until " + Degrees(FanSafety::CooledTemperature) + L".";
}

std::wstring BackText(Cause ended, uint8_t reading) {
    return Degrees(reading) + (ended == Cause::NoReadings ? L": readings are back, and so is the chosen fan mode."
                                                          : L": the fan is back in the chosen mode.");
}

}  // namespace

Cause HoldCause(const FanSafety::Guard& guard) {
    if (guard.Critical)
        return Cause::Critical;
    if (guard.MissedReadings >= FanSafety::MissedReadingsLimit)
        return Cause::NoReadings;
    return guard.Sleeping ? Cause::Sleeping : Cause::None;
}

std::optional<Balloon> AfterTick(State& state, Cause now, uint8_t reading, uint32_t nowMs) {
    if (now == Cause::Critical || now == Cause::NoReadings) {
        if (now == state.shown)
            return std::nullopt;  // still the hold the user was told about
        if (now == state.quiet && uint32_t(nowMs - state.clearedAt) < QuietMs)
            return std::nullopt;
        state.shown = now;
        return Balloon{Balloon::Icon::Warning, WarningText(now, reading)};
    }
    // Asleep the hold goes on; awake, the chosen mode acts again only on a good reading.
    if (now != Cause::None || state.shown == Cause::None || !FanSafety::IsGoodReading(reading))
        return std::nullopt;
    const Cause ended = std::exchange(state.shown, Cause::None);
    state.quiet = ended;
    state.clearedAt = nowMs;
    return Balloon{Balloon::Icon::Info, BackText(ended, reading)};
}

const char* HoldLine(Cause cause) {
    switch (cause) {
        case Cause::Critical: return "EC has the fan: too hot";
        case Cause::NoReadings: return "EC has the fan: no reading";
        default: return "";
    }
}

}  // namespace Alerts
