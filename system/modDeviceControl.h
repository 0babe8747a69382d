#pragma once
// Device control and disk APM: the LAN and WiFi adapters, the webcam and the user's
// own device switched and read back through devcon, and the disk's APM level set
// through hdparm. The patterns and command lines come with DeviceCommands.h.
#include <cstdint>
#include <string>

#include "system/DeviceCommands.h"

namespace modDeviceControl {

// What the program believes of each device: set by its toggle at once, replaced by
// what devcon says at each ReadDevicesStatus. The tray menu's check marks show them.
bool LanEnabled();
bool WifiEnabled();
bool WebcamEnabled();
bool CustomDeviceEnabled();
// The webcam's pattern, quotes included; empty until DetectWebcam.
const std::string& WebcamID();

// The APM level last sent to the disk. Start-up and resume set it to 128 without
// sending anything, so that the next tick sends 254 again when it is wanted.
int16_t ApmLevelInForce();
void SetApmLevelInForce(int16_t level);

// Runs devcon find for the first webcam model and keeps the pattern of the model found.
void DetectWebcam();

// Each sets its flag and starts devcon enable or disable without waiting; nothing
// confirms the result until the next ReadDevicesStatus.
void ToggleLAN(bool enable);
void ToggleWifi(bool enable);
void ToggleWebcam(bool enable);
// The custom device is switched only when its ID names devices (NamesDevices) and devcon
// find lists 1 to MaxCustomDevices of them; else nothing runs and `matching` says how
// many it listed (-1: devcon did not say).
struct CustomToggle {
    bool switched = false;
    int matching = -1;
};
CustomToggle ToggleCustomDevice(bool enable, const std::string& customDeviceId);

// Runs devcon status for LAN, webcam, WiFi and the custom device, in that order; the
// custom device only when its ID names devices (else it reads as disabled).
void ReadDevicesStatus(const std::string& customDeviceId);

// Starts hdparm with the level and records it as the level in force.
void SetDiskAPM(int16_t level);

}  // namespace modDeviceControl
