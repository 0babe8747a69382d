#include "system/modPowerMan.h"

#include <windows.h>

#include "system/StartHidden.h"

namespace modPowerMan {

namespace {

// The record is copied field by field; its size is the platform's on every build.
static_assert(sizeof(SYSTEM_POWER_STATUS) == 12 && sizeof(PowerStatusRecord) == 12);

// The last good answer; unknown (the AC line, for the fan and throttling) until the
// platform first answers.
PowerStatusRecord powerStatus{.ACLineStatus = 255};
int32_t mainsModeInForce = 0;
int32_t batteryModeInForce = 0;

// Each powercfg finishes before the next starts, so that the scheme exists before it
// is made active and changed; a powercfg that hangs holds the program no longer.
constexpr uint32_t kPowercfgWaitMs = 5000;

// Whether powercfg could be started is not looked at: the modes in force hold the new
// values either way.
void RunPowercfg(const std::string& commandLine) {
    StartHidden(commandLine, kPowercfgWaitMs);
}

// Records the mode sent for one power source.
void RecordMode(PowerSource source, int32_t mode) {
    (source == PowerSource::Mains ? mainsModeInForce : batteryModeInForce) = mode;
}

}  // namespace

BOOL(WINAPI* SystemPowerStatus)(LPSYSTEM_POWER_STATUS) = GetSystemPowerStatus;

PowerStatusRecord ReadPowerStatus() {
    SYSTEM_POWER_STATUS status;
    // A failed call leaves the record as it was.
    if (!SystemPowerStatus(&status))
        return powerStatus;
    powerStatus.ACLineStatus = status.ACLineStatus;
    powerStatus.BatteryFlag = status.BatteryFlag;
    powerStatus.BatteryLifePercent = status.BatteryLifePercent;
    powerStatus.Reserved1 = status.Reserved1;
    powerStatus.BatteryLifeTime = static_cast<int32_t>(status.BatteryLifeTime);
    powerStatus.BatteryFullLifeTime = static_cast<int32_t>(status.BatteryFullLifeTime);
    return powerStatus;
}

int32_t ThrottleModeFor(PowerSource source) {
    return source == PowerSource::Mains ? mainsModeInForce : batteryModeInForce;
}

PowerSource SetThrottleMode(int32_t mode) {
    const PowerSource source = SourceInUse(ReadPowerStatus());
    RecordMode(source, mode);
    RunPowercfg(ThrottleCommand(source, mode));
    return source;
}

void ApplyThrottleModes(int32_t mainsMode, int32_t batteryMode) {
    RecordMode(PowerSource::Mains, mainsMode);
    RecordMode(PowerSource::Battery, batteryMode);
    RunPowercfg(ThrottleCommand(PowerSource::Mains, mainsMode));
    RunPowercfg(ThrottleCommand(PowerSource::Battery, batteryMode));
}

void CreatePowerScheme(int32_t mainsMode, int32_t batteryMode) {
    RunPowercfg(CreateSchemeCommand());
    RunPowercfg(ActivateSchemeCommand());
    ApplyThrottleModes(mainsMode, batteryMode);
}

}  // namespace modPowerMan
