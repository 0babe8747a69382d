#include "app/TrayArt.h"

#include "app/BatteryText.h"

namespace TrayArt {

namespace {
constexpr wchar_t kDegreeSign = L'\u00B0';
constexpr int32_t kThrottleConstant = 0;  // "800 Mhz"

std::wstring Widened(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }
}  // namespace

std::wstring TemperatureText(uint8_t temperature) {
    std::wstring text = std::to_wstring(temperature);
    if (text.size() < 2)
        text.insert(0, 1, L'0');
    return text + kDegreeSign;
}

int32_t TemperatureTextColor(int32_t throttleMode, int32_t textColor, int32_t textColorConstant, bool darkDefaults) {
    // Each colour is compared with its own default: a white chosen for the constant
    // mode is the user's choice, and stays white.
    if (throttleMode == kThrottleConstant)
        return darkDefaults && textColorConstant == DefaultTextColorConstant ? DarkTextColorConstant
                                                                             : textColorConstant;
    return darkDefaults && textColor == DefaultTextColor ? DarkTextColor : textColor;
}

std::wstring BatteryTimeText(int32_t batteryLifeSeconds) {
    return Widened(BatteryText::RemainingTimeText(BatteryText::MinutesFromSeconds(batteryLifeSeconds)));
}

TipField TrayTipField(const std::string& text) {
    TipField field;
    field.fill(' ');
    const size_t n = text.size() < field.size() ? text.size() : field.size();
    text.copy(field.data(), n);
    if (n < field.size())
        field[n] = '\0';
    return field;
}

}  // namespace TrayArt
