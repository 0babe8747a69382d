#include "dialogs/ConfigForm.h"

#include <algorithm>

#include "system/Conversion.h"
#include "system/DeviceCommands.h"

namespace ConfigForm {

namespace {

constexpr int32_t kMinimumWidth = 1024, kMinimumHeight = 768;
constexpr wchar_t kDegreeSign = L'\u00B0';

std::wstring Widened(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

void Select(Choice& choice, int16_t value, const std::wstring& ownItem) {
    const auto at = std::find(choice.Values.begin(), choice.Values.end(), value);
    if (at != choice.Values.end()) {
        choice.Selected = int(at - choice.Values.begin());
        return;
    }
    choice.Items.push_back(ownItem);
    choice.Values.push_back(value);
    choice.Selected = int(choice.Items.size()) - 1;
}

std::wstring TemperatureItem(int16_t degrees) { return std::to_wstring(degrees) + kDegreeSign + L"C"; }

// A threshold of 0 or less is not used: the box is cleared and the list shows 35°C.
Choice Temperatures(int16_t threshold) {
    Choice choice;
    for (int16_t t = kLowestTemperature; t <= kHighestTemperature; ++t) {
        choice.Items.push_back(TemperatureItem(t));
        choice.Values.push_back(t);
    }
    if (threshold > 0)
        Select(choice, threshold, TemperatureItem(threshold));
    return choice;
}

constexpr int16_t kAsOnAcLine = -1;

// The battery's lists start with the AC line's value, then off; a value below 0 is the
// AC line's, one the list lacks gets an item of its own.
Choice BatteryChoice(const std::vector<std::wstring>& items, const std::vector<int16_t>& values, int16_t stored,
                     const std::wstring& ownItem) {
    Choice choice{{L"As on AC line", L"Off"}, {kAsOnAcLine, 0}, 0};
    choice.Items.insert(choice.Items.end(), items.begin(), items.end());
    choice.Values.insert(choice.Values.end(), values.begin(), values.end());
    Select(choice, std::max(stored, kAsOnAcLine), ownItem);
    return choice;
}

// "Slow" only where the fan has a slow mode, as in the tray menu.
Choice BatteryModes(int16_t mode, bool hasSlow) {
    const std::wstring own = mode == 1 ? L"Slow" : Widened(Conversion::DecimalText(mode));
    if (hasSlow)
        return BatteryChoice({L"Slow", L"Auto", L"Custom"}, {1, 2, 3}, mode, own);
    return BatteryChoice({L"Auto", L"Custom"}, {2, 3}, mode, own);
}

Choice BatteryTemperatures(int16_t threshold) {
    const Choice all = Temperatures(0);
    return BatteryChoice(all.Items, all.Values, threshold, TemperatureItem(threshold));
}

Choice ThrottleModes(int16_t mode) {
    Choice choice{{L"800 Mhz", L"Dynamic"}, {0, 1}, 0};
    Select(choice, mode, mode == 2 ? L"None" : Widened(Conversion::DecimalText(mode)));
    return choice;
}

int16_t Chosen(const Choice& choice) {
    return choice.Selected >= 0 && size_t(choice.Selected) < choice.Values.size()
               ? choice.Values[size_t(choice.Selected)]
               : 0;
}

int16_t Threshold(bool checked, const Choice& choice) { return checked ? Chosen(choice) : 0; }

}  // namespace

std::optional<uint8_t> HexByte(const std::string& text) { return Conversion::ToByte("&H" + text); }

std::string HexText(uint8_t value) { return Conversion::HexText(value).substr(2); }

View Load(const SettingsRecord& s, const Facts& facts) {
    View view;
    const bool patched = facts.Patched && !facts.Windows6OrLater;
    view.UnpatchEnabled = patched;
    view.PatchEnabled = !s.UseAlternateDriver && !facts.Windows6OrLater && !patched;
    view.Autostart = facts.AutostartEnabled;
    view.NoHDClicks = s.PreventHDClicks;
    view.ShowTime = s.ShowRemainingBattIcon;
    view.ShowAlerts = s.ShowAlerts;
    view.StopChecked = s.Fan.Stop > 0;
    view.SlowChecked = s.Fan.Slow > 0;
    view.AutoChecked = s.Fan.Auto > 0;
    view.DeviceEnabled = s.UseCustomDevice;
    view.CustomEC = s.UseCustomFanValue;
    view.ProcModeAC = ThrottleModes(s.Processor.AC);
    view.ProcModeDC = ThrottleModes(s.Processor.DC);
    view.Stop = Temperatures(s.Fan.Stop);
    view.Slow = Temperatures(s.Fan.Slow);
    view.Auto = Temperatures(s.Fan.Auto);
    view.BatteryControl = BatteryModes(s.Fan.BatteryControl, facts.HasSlowByte);
    view.BatteryStop = BatteryTemperatures(s.Fan.BatteryStop);
    view.BatterySlow = BatteryTemperatures(s.Fan.BatterySlow);
    view.BatteryAuto = BatteryTemperatures(s.Fan.BatteryAuto);
    view.DeviceName = s.CustomDeviceName;
    view.DeviceID = s.CustomDeviceID;
    view.Width = Conversion::DecimalText(s.CustomResolutionWidth);
    view.Height = Conversion::DecimalText(s.CustomResolutionHeight);
    view.FanSlow = HexText(s.FanValueSlow);
    view.FanStop = HexText(s.FanValueOff);
    view.FanAuto = HexText(s.FanValueAuto);
    view.Bios = Conversion::DecimalText(facts.BiosVersion);
    view.Test = "0";
    return view;
}

SaveResult Save(const View& view, const SettingsRecord& stored) {
    SaveResult result{stored};
    SettingsRecord& s = result.Settings;

    int32_t width = stored.CustomResolutionWidth, height = stored.CustomResolutionHeight;
    const auto typedWidth = Conversion::ToInt16(view.Width);
    const auto typedHeight = Conversion::ToInt16(view.Height);
    if (typedWidth && typedHeight) {
        width = std::max<int32_t>(*typedWidth, kMinimumWidth);
        height = std::max<int32_t>(*typedHeight, kMinimumHeight);
    } else {
        result.ResolutionRejected = true;
    }

    const auto slow = HexByte(view.FanSlow), off = HexByte(view.FanStop), automatic = HexByte(view.FanAuto);
    const bool bytesValid = slow && off && automatic;
    result.EcValuesRejected = !bytesValid;

    result.AutostartEnabled = view.Autostart;
    s.PreventHDClicks = view.NoHDClicks;
    s.ShowRemainingBattIcon = view.ShowTime;
    s.ShowAlerts = view.ShowAlerts;
    s.Processor.AC = Chosen(view.ProcModeAC);
    s.Processor.DC = Chosen(view.ProcModeDC);
    s.Fan.Stop = Threshold(view.StopChecked, view.Stop);
    s.Fan.Slow = Threshold(view.SlowChecked, view.Slow);
    s.Fan.Auto = Threshold(view.AutoChecked, view.Auto);
    s.Fan.BatteryControl = Chosen(view.BatteryControl);
    s.Fan.BatteryStop = Chosen(view.BatteryStop);
    s.Fan.BatterySlow = Chosen(view.BatterySlow);
    s.Fan.BatteryAuto = Chosen(view.BatteryAuto);
    s.CustomResolutionWidth = width;
    s.CustomResolutionHeight = height;
    s.UseCustomFanValue = view.CustomEC;
    if (bytesValid) {
        s.FanValueSlow = *slow;
        s.FanValueOff = *off;
        s.FanValueAuto = *automatic;
    }
    s.UseCustomDevice = view.DeviceEnabled;
    // Checked only while the custom device is on: an ID kept for later may be anything.
    result.DeviceIdRejected = view.DeviceEnabled && !modDeviceControl::NamesDevices(view.DeviceID);
    if (!result.DeviceIdRejected)
        s.CustomDeviceID = view.DeviceID;
    s.CustomDeviceName = view.DeviceName;
    return result;
}

}  // namespace ConfigForm
