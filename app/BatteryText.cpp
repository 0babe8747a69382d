#include "app/BatteryText.h"

namespace BatteryText {

namespace {
constexpr uint8_t kFlagCharging = 8;
constexpr uint8_t kFlagNoBattery = 128;
// The tooltip's minute count is a signed 16-bit value; a longer time is no
// time the system can really mean, so it is shown as unknown.
constexpr int32_t kMaxMinutes = 32767;

std::string Percent(const PowerStatusRecord& status) {
    return std::to_string(status.BatteryLifePercent) + "%";
}

BatteryStep Unknown(const PowerStatusRecord& status) {
    return {"Battery: " + Percent(status), BatteryIconAction::Remove};
}
}  // namespace

int32_t MinutesFromSeconds(int32_t seconds) {
    int32_t minutes = seconds / 60;
    const int32_t rest = seconds % 60;
    if (rest > 30 || (rest == 30 && minutes % 2 != 0))
        ++minutes;
    return minutes;
}

std::string RemainingTimeText(int32_t minutes) {
    const int32_t rest = minutes % 60;
    return std::to_string(minutes / 60) + (rest < 10 ? ":0" : ":") + std::to_string(rest);
}

BatteryStep DecideBatteryStep(const PowerStatusRecord& status, bool showRemainingBattIcon) {
    // Exact flag values only: charging combined with another bit (9) is not "Charging".
    if (status.BatteryFlag == kFlagCharging)
        return {"Charging: " + Percent(status), BatteryIconAction::Remove};
    if (status.BatteryFlag == kFlagNoBattery)
        return {"No battery", BatteryIconAction::Remove};
    if (status.ACLineStatus != 0 || status.BatteryLifeTime <= 0)
        return Unknown(status);
    const int32_t minutes = MinutesFromSeconds(status.BatteryLifeTime);
    if (minutes > kMaxMinutes)
        return Unknown(status);
    return {RemainingTimeText(minutes) + " (" + Percent(status) + ")",
            showRemainingBattIcon ? BatteryIconAction::Draw : BatteryIconAction::Remove};
}

}  // namespace BatteryText
