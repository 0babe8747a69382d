#include "system/PowerCommands.h"

namespace modPowerMan {

namespace {
// The scheme bears the application title.
const std::string kScheme = "vantu";
}  // namespace

std::string ThrottleModeName(int32_t mode) {
    switch (mode) {
        case 0: return "constant";
        case 1: return "adaptive";
        case 2: return "none";
        default: return "";
    }
}

PowerSource SourceInUse(const PowerStatusRecord& status) {
    return status.ACLineStatus != 0 ? PowerSource::Mains : PowerSource::Battery;
}

std::string CreateSchemeCommand() {
    return "powercfg /c " + kScheme;
}

std::string ActivateSchemeCommand() {
    return "powercfg /s " + kScheme;
}

std::string ThrottleCommand(PowerSource source, int32_t mode) {
    const char* suffix = source == PowerSource::Mains ? "ac " : "dc ";
    return "powercfg /x " + kScheme + " /processor-throttle-" + suffix + ThrottleModeName(mode);
}

}  // namespace modPowerMan
