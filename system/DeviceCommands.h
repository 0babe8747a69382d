#pragma once
// The devcon and hdparm command lines, the reading of devcon's output and the choice
// of the disk APM level to send. No OS calls, so they are tested natively.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace modDeviceControl {

// Hardware-ID patterns; the quote characters are part of what goes on the line.
inline constexpr const char* LanPattern = "\"PCI\\VEN_10EC&DEV_8136*\"";
inline constexpr const char* WifiPattern = "\"PCI\\VEN_168C&DEV_001C*\"";
inline constexpr const char* WebcamPattern1 = "\"USB\\VID_0C45*\"";
inline constexpr const char* WebcamPattern2 = "\"USB\\VID_064E*\"";

// The user's device ID followed by an asterisk, in quotes; only for an ID that
// NamesDevices takes, which holds no quote that could close the argument.
std::string CustomDevicePattern(std::string_view customDeviceId);

// Whether a custom device ID names devices rather than many or all: an enumerator
// (letters, digits and _) and a backslash first ("USB\", "PCI\"), and none of * ? @ = "
// but one * at its very end (the default "USB\VID_1BCF*"). An empty ID would make the
// pattern "*", every device of the machine.
bool NamesDevices(std::string_view customDeviceId);

// The custom device's entry switches its devices only when devcon find lists 1 to this
// many (a 3G module is a composite device with several interfaces).
inline constexpr int MaxCustomDevices = 8;
// The number devcon find reports ("12 matching device(s) found.", "No matching devices
// found."); nothing when its output says neither.
std::optional<int> MatchingDevices(std::string_view findOutput);

std::string FindCommand(std::string_view pattern);
std::string StatusCommand(std::string_view pattern);
std::string ToggleCommand(bool enable, std::string_view pattern);
std::string DiskApmCommand(int16_t level);

// devcon find's "No matching" means the first model is absent; the second one is
// then taken without looking for it.
const char* WebcamPatternFromFind(std::string_view findOutput);

// Any devcon status output without "disabled" (case-sensitive) reads as enabled,
// also a failure to run devcon or a pattern that matched no device.
bool EnabledFromStatus(std::string_view statusOutput);

// APM levels in use: 254 keeps the disk from parking its heads, 128 is the usual one.
inline constexpr int16_t ApmLevelNoClicks = 254;
inline constexpr int16_t ApmLevelDefault = 128;

// The level the monitor tick sends, if any: 254 when "Prevent HD clicks" is on and
// not yet in force, 128 once when it is switched off.
std::optional<int16_t> DiskApmLevelToSend(bool preventHDClicks, int16_t levelInForce);

}  // namespace modDeviceControl
