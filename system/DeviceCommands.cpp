#include "system/DeviceCommands.h"

namespace modDeviceControl {

namespace {

bool Contains(std::string_view text, std::string_view word) {
    return text.find(word) != std::string_view::npos;
}

}  // namespace

std::string CustomDevicePattern(std::string_view customDeviceId) {
    std::string pattern = "\"";
    for (char c : customDeviceId)
        if (c != '"')
            pattern += c;
    return pattern + "*\"";
}

std::string FindCommand(std::string_view pattern) {
    return "devcon find " + std::string(pattern);
}

std::string StatusCommand(std::string_view pattern) {
    return "devcon status " + std::string(pattern);
}

std::string ToggleCommand(bool enable, std::string_view pattern) {
    return std::string(enable ? "devcon enable " : "devcon disable ") + std::string(pattern);
}

std::string DiskApmCommand(int16_t level) {
    return "hdparm -B " + std::to_string(level) + " hda";
}

const char* WebcamPatternFromFind(std::string_view findOutput) {
    return Contains(findOutput, "No matching") ? WebcamPattern2 : WebcamPattern1;
}

bool EnabledFromStatus(std::string_view statusOutput) {
    return !Contains(statusOutput, "disabled");
}

std::optional<int16_t> DiskApmLevelToSend(bool preventHDClicks, int16_t levelInForce) {
    if (preventHDClicks && levelInForce != ApmLevelNoClicks)
        return ApmLevelNoClicks;
    if (!preventHDClicks && levelInForce == ApmLevelNoClicks)
        return ApmLevelDefault;
    return std::nullopt;
}

}  // namespace modDeviceControl
