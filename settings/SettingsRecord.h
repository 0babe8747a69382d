#pragma once
// The user's settings as one record, and its text forms in the INI file. Reading and
// writing go through callbacks, so the whole load and save is tested without files.
#include <cstdint>
#include <functional>
#include <string>

struct FanSettings {
    int16_t Control = 0;  // 0 off, 1 slow, 2 auto, 3 custom thresholds
    int16_t Stop = 0;     // degrees Celsius; 0 switches the threshold off
    int16_t Slow = 0;
    int16_t Auto = 0;
    // On battery, each on its own: the same values, or a negative one (-1 as written)
    // for whatever the AC line's key says. A record never loaded defers to the AC line
    // rather than turning the fan off on battery.
    int16_t BatteryControl = -1;
    int16_t BatteryStop = -1;
    int16_t BatterySlow = -1;
    int16_t BatteryAuto = -1;
    bool operator==(const FanSettings&) const = default;
};

struct ProcessorSettings {
    int16_t AC = 0;  // throttle mode on mains: 0 constant, 1 adaptive, 2 none
    int16_t DC = 0;  // the same on battery
    bool operator==(const ProcessorSettings&) const = default;
};

// Fields bear their INI key names. Everything starts at zero: the defaults exist only
// as the texts handed to the reader, so they apply only through loading.
struct SettingsRecord {
    bool PreventHDClicks = false;
    bool ShowRemainingBattIcon = false;
    int32_t TimerInterval = 0;  // milliseconds
    bool EnableDownscaling = false;
    bool ShowFullSizeTempIcon = false;
    bool SingleIconMode = false;
    bool ShowAlerts = false;  // balloons when the safety rules take or give back the fan
    int32_t TemperatureTextColor = 0;  // colours are 0x00BBGGRR
    int32_t TemperatureTextColor2 = 0;
    int32_t BatteryTextColor = 0;
    FanSettings Fan;
    ProcessorSettings Processor;
    bool UseCustomFanValue = false;
    uint8_t FanValueOff = 0;
    uint8_t FanValueSlow = 0;
    uint8_t FanValueAuto = 0;
    int16_t FanSlowModeThreshold = 0;
    int32_t CustomResolutionWidth = 0;
    int32_t CustomResolutionHeight = 0;
    bool UseAlternateDriver = false;  // set by hand in the file only; never written
    bool UseCustomDevice = false;
    std::string CustomDeviceName;
    std::string CustomDeviceID;
    bool operator==(const SettingsRecord&) const = default;
};

// Returns the stored text of a key, or defaultText when the key or the file is missing.
using IniReader = std::function<std::string(const std::string& section, const std::string& key,
                                            const std::string& defaultText)>;
using IniWriter = std::function<void(const std::string& section, const std::string& key,
                                     const std::string& value)>;

// Reads every field. A value that does not convert takes its key's default and the
// load goes on, so one bad line cannot wipe the fields after it at the next save.
void LoadSettingsFrom(SettingsRecord& settings, const IniReader& read);

// Writes 30 keys, grouped Advanced, Fan, Processor, Colors, Special, so a file written
// from nothing has that layout. UseAlternateDriver is left as the user put it.
void SaveSettingsTo(const SettingsRecord& settings, const IniWriter& write);

// The INI file's text with the record saved into it: what the file is to hold after a
// save, everything else in it kept as it was.
std::string WithSettings(std::string iniText, const SettingsRecord& settings);

// The number in the last 6 characters of "SystemBiosVersion" (a multi-string whose
// last string ends in digits, so those characters are the digits and two NULs).
// A version ending in letters gives 0, which the fan code treats as the oldest BIOS.
int16_t BiosVersionFromText(const std::string& systemBiosVersion);

// True for a "CurrentVersion" text of 6.0 or more ("5.1" is XP, "6.0" Vista).
bool IsVersion6OrLater(const std::string& currentVersion);
