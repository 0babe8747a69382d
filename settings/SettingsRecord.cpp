#include "settings/SettingsRecord.h"

#include <optional>
#include <string_view>
#include <type_traits>

#include "settings/IniText.h"
#include "system/Conversion.h"

namespace {

enum class TextForm {
    Plain,     // booleans as words, integers in decimal, strings as they are
    Hex,       // colours and fan bytes: "&H" and upper-case hex
    ReadOnly,  // read, never written back
};

struct FieldInfo {
    const char* Section;
    const char* Key;
    const char* DefaultText;  // numbers in decimal, as the reader expects them
    TextForm Form = TextForm::Plain;
};

// Every persisted field in load order. Record is SettingsRecord for loading and
// const SettingsRecord for saving, so one list serves both.
template <typename Record, typename Visit>
void ForEachField(Record& s, Visit&& visit) {
    constexpr TextForm Hex = TextForm::Hex;
    visit({"Advanced", "PreventHDClicks", "False"}, s.PreventHDClicks);
    visit({"Advanced", "ShowRemainingBattIcon", "True"}, s.ShowRemainingBattIcon);
    visit({"Advanced", "TimerInterval", "3000"}, s.TimerInterval);
    visit({"Advanced", "EnableDownscaling", "False"}, s.EnableDownscaling);
    visit({"Advanced", "ShowFullSizeTempIcon", "False"}, s.ShowFullSizeTempIcon);
    visit({"Advanced", "SingleIconMode", "False"}, s.SingleIconMode);
    visit({"Advanced", "ShowAlerts", "True"}, s.ShowAlerts);
    visit({"Colors", "TemperatureTextColor", "16777215", Hex}, s.TemperatureTextColor);
    visit({"Colors", "TemperatureTextColor2", "4259680", Hex}, s.TemperatureTextColor2);
    visit({"Colors", "BatteryTextColor", "0", Hex}, s.BatteryTextColor);
    visit({"Fan", "Control", "3"}, s.Fan.Control);
    visit({"Fan", "Stop", "50"}, s.Fan.Stop);
    visit({"Fan", "Slow", "60"}, s.Fan.Slow);
    visit({"Fan", "Auto", "65"}, s.Fan.Auto);
    visit({"Fan", "BatteryControl", "-1"}, s.Fan.BatteryControl);
    visit({"Fan", "BatteryStop", "-1"}, s.Fan.BatteryStop);
    visit({"Fan", "BatterySlow", "-1"}, s.Fan.BatterySlow);
    visit({"Fan", "BatteryAuto", "-1"}, s.Fan.BatteryAuto);
    visit({"Processor", "AC", "1"}, s.Processor.AC);
    visit({"Processor", "DC", "0"}, s.Processor.DC);
    visit({"Special", "UseCustomFanValue", "False"}, s.UseCustomFanValue);
    visit({"Special", "FanValueOff", "175", Hex}, s.FanValueOff);
    visit({"Special", "FanValueSlow", "16", Hex}, s.FanValueSlow);
    visit({"Special", "FanValueAuto", "0", Hex}, s.FanValueAuto);
    visit({"Special", "FanSlowModeThreshold", "42"}, s.FanSlowModeThreshold);
    visit({"Special", "CustomResolutionWidth", "1024"}, s.CustomResolutionWidth);
    visit({"Special", "CustomResolutionHeight", "768"}, s.CustomResolutionHeight);
    visit({"Special", "UseAlternateDriver", "False", TextForm::ReadOnly}, s.UseAlternateDriver);
    visit({"Special", "UseCustomDevice", "False"}, s.UseCustomDevice);
    visit({"Special", "CustomDeviceName", "MyDevice"}, s.CustomDeviceName);
    visit({"Special", "CustomDeviceID", "USB\\VID_1BCF*"}, s.CustomDeviceID);
}

// Sections in the order a save writes them (loading reads Colors second).
constexpr const char* SaveOrder[] = {"Advanced", "Fan", "Processor", "Colors", "Special"};

template <typename T>
std::optional<T> FromText(const std::string& text) {
    using namespace Conversion;
    if constexpr (std::is_same_v<T, bool>) return ToBoolean(text);
    else if constexpr (std::is_same_v<T, int16_t>) return ToInt16(text);
    else if constexpr (std::is_same_v<T, int32_t>) return ToInt32(text);
    else if constexpr (std::is_same_v<T, uint8_t>) return ToByte(text);
    else return text;
}

template <typename T>
bool StoreText(T& field, const std::string& text) {
    const std::optional<T> value = FromText<T>(text);
    if (value) field = *value;
    return value.has_value();
}

template <typename T>
std::string ToText(const T& value, TextForm form) {
    using namespace Conversion;
    if constexpr (std::is_same_v<T, bool>) return BooleanText(value);
    else if constexpr (std::is_same_v<T, std::string>) return value;
    else if (form == TextForm::Hex) return HexText(static_cast<uint32_t>(value));
    else return DecimalText(value);
}

}  // namespace

void LoadSettingsFrom(SettingsRecord& settings, const IniReader& read) {
    ForEachField(settings, [&](const FieldInfo& info, auto& field) {
        if (!StoreText(field, read(info.Section, info.Key, info.DefaultText))) {
            StoreText(field, info.DefaultText);
        }
    });
}

void SaveSettingsTo(const SettingsRecord& settings, const IniWriter& write) {
    for (const std::string_view section : SaveOrder) {
        ForEachField(settings, [&](const FieldInfo& info, const auto& field) {
            if (info.Section == section && info.Form != TextForm::ReadOnly) {
                write(info.Section, info.Key, ToText(field, info.Form));
            }
        });
    }
}

std::string WithSettings(std::string iniText, const SettingsRecord& settings) {
    SaveSettingsTo(settings, [&iniText](const std::string& section, const std::string& key,
                                        const std::string& value) {
        IniText::SetValue(iniText, section, key, value);
    });
    return iniText;
}

int16_t BiosVersionFromText(const std::string& systemBiosVersion) {
    std::string_view tail = systemBiosVersion;
    if (tail.size() > 6) tail.remove_prefix(tail.size() - 6);
    tail = tail.substr(0, tail.find('\0'));
    return Conversion::ToInt16(tail).value_or(0);
}

bool IsVersion6OrLater(const std::string& currentVersion) {
    return Conversion::LeadingNumber(currentVersion) >= 6.0;
}
