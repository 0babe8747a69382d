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

// The two digit colours' defaults (white; green for the constant throttle mode) and
// their dark counterparts for a light taskbar. Colours are 0x00BBGGRR.
inline constexpr int32_t DefaultTextColor = 0xFFFFFF, DefaultTextColorConstant = 0x40FF60;
inline constexpr int32_t DarkTextColor = 0x000000, DarkTextColorConstant = 0x008000;

// The digits show the throttle mode in force: the fixed lowest speed (mode 0) has
// its own colour. With darkDefaults (full-size digits drawn straight onto a light
// taskbar) a colour still at its own default is drawn dark; one the user chose stays.
int32_t TemperatureTextColor(int32_t throttleMode, int32_t textColor, int32_t textColorConstant,
                             bool darkDefaults = false);

// The remaining battery time as hours ":" two-digit minutes ("0:45", "10:00").
std::wstring BatteryTimeText(int32_t batteryLifeSeconds);

// The tooltip field of the notify-icon record: the text and one NUL, blank-filled
// after it; a text of 64 characters or more fills it, cut, with no NUL.
using TipField = std::array<char, 64>;
TipField TrayTipField(const std::string& text);

}  // namespace TrayArt
