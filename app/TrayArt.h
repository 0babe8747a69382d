#pragma once
// What the tray pictures show: the texts drawn onto them and the colour of the
// temperature digits. No OS calls, so it is tested natively.
#include <array>
#include <cstdint>
#include <string>

namespace TrayArt {

// The temperature as at least two digits and the degree sign ("05°", "45°"). Wide
// text, so that the degree sign is one whatever the system's ANSI code page.
std::wstring TemperatureText(uint8_t temperature);

// The digits show the throttle mode in force: the fixed lowest speed (mode 0) has
// its own colour. Colours are 0x00BBGGRR.
int32_t TemperatureTextColor(int32_t throttleMode, int32_t textColor, int32_t textColorConstant);

// The remaining battery time as hours ":" two-digit minutes ("0:45", "10:00").
std::wstring BatteryTimeText(int32_t batteryLifeSeconds);

// The tooltip field of the notify-icon record: the text and one NUL, blank-filled
// after it; a text of 64 characters or more fills it, cut, with no NUL.
using TipField = std::array<char, 64>;
TipField TrayTipField(const std::string& text);

}  // namespace TrayArt
