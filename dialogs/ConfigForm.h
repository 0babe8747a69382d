#pragma once
// The configuration dialog as plain values: what its controls show for a settings
// record (the load step), and the record that its controls give back (Save), with
// the two checks of Save. No OS calls, so it is tested natively; frmConfig moves these
// values into and out of the real controls.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/SettingsRecord.h"

namespace ConfigForm {

// A pick-only list: its item texts, the number each item stands for, the selection.
struct Choice {
    std::vector<std::wstring> Items;
    std::vector<int16_t> Values;
    int Selected = 0;
    bool operator==(const Choice&) const = default;
};

// What the controls show. Text boxes hold the texts as typed.
struct View {
    bool PatchEnabled = false, UnpatchEnabled = false;
    bool Autostart = false, NoHDClicks = false, ShowTime = false, ShowAlerts = false;
    Choice ProcModeDC, ProcModeAC;
    bool StopChecked = false, SlowChecked = false, AutoChecked = false;
    Choice Stop, Slow, Auto;
    // On battery: the mode and each threshold, or "As on AC line" (-1).
    Choice BatteryControl, BatteryStop, BatterySlow, BatteryAuto;
    bool DeviceEnabled = false;
    std::string DeviceName, DeviceID;
    std::string Width, Height;
    bool CustomEC = false;
    std::string FanStop, FanSlow, FanAuto, Bios, Test;
    bool operator==(const View&) const = default;
};

// The facts beside the settings that the dialog shows.
struct Facts {
    bool AutostartEnabled = false;
    bool Patched = false;  // IsACPIECPatched
    bool Windows6OrLater = false;
    int16_t BiosVersion = 0;
    bool HasSlowByte = true;  // the fan can be set slow: by the machine's bytes or custom ones
};

// The load step. A threshold above 0 that the 35..75 list cannot show, or a throttle
// mode other than 0 and 1, gets an item of its own at the end of its list, selected:
// the dialog shows what is stored, and a Save that does not touch the list keeps it.
// A battery value below 0 shows "As on AC line" and is saved as -1.
View Load(const SettingsRecord& settings, const Facts& facts);

struct SaveResult {
    SettingsRecord Settings;
    bool AutostartEnabled = false;
    bool ResolutionRejected = false;  // "Error, invalid resolution!": stored size kept
    bool EcValuesRejected = false;    // "Invalid EC values!": the three stored bytes kept
    bool DeviceIdRejected = false;    // "Invalid device ID!": the stored ID kept
};

// Save's checks and copy: the record the controls give, starting from the stored one.
SaveResult Save(const View& view, const SettingsRecord& stored);

// A byte typed as hexadecimal digits without prefix ("af", "00A0"); none above FF.
std::optional<uint8_t> HexByte(const std::string& text);
// Upper-case hexadecimal without leading zeros ("AF", "0").
std::string HexText(uint8_t value);

// "35°C".."75°C" stand for 35 + the item's index.
inline constexpr int16_t kLowestTemperature = 35, kHighestTemperature = 75;

}  // namespace ConfigForm
