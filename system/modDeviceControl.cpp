#include "system/modDeviceControl.h"

#include "system/StartHidden.h"
#include "system/modCmdOutput.h"

namespace modDeviceControl {

namespace {

bool lanEnabled = false;
bool wifiEnabled = false;
bool webcamEnabled = false;
bool customDeviceEnabled = false;
std::string webcamId;
int16_t apmLevelInForce = ApmLevelDefault;

std::string Captured(const std::string& commandLine) {
    return modCmdOutput::RunCommand(commandLine, true, false, true);
}

// Whether the command could be started is not looked at: the flag or the level in
// force holds the requested value either way.
void Started(const std::string& commandLine) {
    StartHidden(commandLine, 0);
}

void Toggle(bool& flag, bool enable, const std::string& pattern) {
    flag = enable;
    Started(ToggleCommand(enable, pattern));
}

bool ReadStatus(const std::string& pattern) {
    return EnabledFromStatus(Captured(StatusCommand(pattern)));
}

}  // namespace

bool LanEnabled() { return lanEnabled; }
bool WifiEnabled() { return wifiEnabled; }
bool WebcamEnabled() { return webcamEnabled; }
bool CustomDeviceEnabled() { return customDeviceEnabled; }
const std::string& WebcamID() { return webcamId; }

int16_t ApmLevelInForce() { return apmLevelInForce; }
void SetApmLevelInForce(int16_t level) { apmLevelInForce = level; }

void DetectWebcam() {
    webcamId = WebcamPatternFromFind(Captured(FindCommand(WebcamPattern1)));
}

void ToggleLAN(bool enable) { Toggle(lanEnabled, enable, LanPattern); }
void ToggleWifi(bool enable) { Toggle(wifiEnabled, enable, WifiPattern); }
void ToggleWebcam(bool enable) { Toggle(webcamEnabled, enable, webcamId); }
CustomToggle ToggleCustomDevice(bool enable, const std::string& customDeviceId) {
    if (!NamesDevices(customDeviceId))
        return {};
    const std::string pattern = CustomDevicePattern(customDeviceId);
    const int matching = MatchingDevices(Captured(FindCommand(pattern))).value_or(-1);
    if (matching < 1 || matching > MaxCustomDevices)
        return {false, matching};
    Toggle(customDeviceEnabled, enable, pattern);
    return {true, matching};
}

void ReadDevicesStatus(const std::string& customDeviceId) {
    lanEnabled = ReadStatus(LanPattern);
    webcamEnabled = ReadStatus(webcamId);
    wifiEnabled = ReadStatus(WifiPattern);
    customDeviceEnabled = NamesDevices(customDeviceId) && ReadStatus(CustomDevicePattern(customDeviceId));
}

void SetDiskAPM(int16_t level) {
    Started(DiskApmCommand(level));
    apmLevelInForce = level;
}

}  // namespace modDeviceControl
