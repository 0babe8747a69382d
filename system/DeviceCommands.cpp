#include "system/DeviceCommands.h"

namespace modDeviceControl {

namespace {

bool Contains(std::string_view text, std::string_view word) {
    return text.find(word) != std::string_view::npos;
}

}  // namespace

std::string CustomDevicePattern(std::string_view customDeviceId) {
    return "\"" + std::string(customDeviceId) + "*\"";
}

bool NamesDevices(std::string_view customDeviceId) {
    const size_t slash = customDeviceId.find('\\');
    if (slash == 0 || slash == std::string_view::npos)
        return false;
    for (size_t i = 0; i < slash; ++i) {
        const char c = customDeviceId[i];
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'))
            return false;
    }
    std::string_view rest = customDeviceId.substr(slash + 1);
    if (!rest.empty() && rest.back() == '*')
        rest.remove_suffix(1);
    return rest.find_first_of("*?@=\"") == std::string_view::npos;
}

std::optional<int> MatchingDevices(std::string_view findOutput) {
    if (Contains(findOutput, "No matching devices found"))
        return 0;
    const size_t words = findOutput.find(" matching device(s) found");
    if (words == std::string_view::npos)
        return std::nullopt;
    size_t start = words;
    while (start > 0 && findOutput[start - 1] >= '0' && findOutput[start - 1] <= '9')
        --start;
    if (start == words || words - start > 6)
        return std::nullopt;
    int count = 0;
    for (size_t i = start; i < words; ++i)
        count = count * 10 + (findOutput[i] - '0');
    return count;
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
