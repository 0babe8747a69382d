// modDeviceControl against the recording fake devcon.exe beside the test program,
// with its output scripted per command line: what is run, in which order, and what
// its words make of each device.
#include "system/modDeviceControl.h"

#include <gtest/gtest.h>

#include <fstream>

#include "CommandLog.h"
#include "settings/modSettings.h"

using namespace modDeviceControl;

namespace {

// "disabled" only in lower case counts; the custom device's quote stays out of the line.
TEST(ModDeviceControl, StatusIsReadInItsOrderFromDevconsWords) {
    const std::string script = modSettings::AppFolder() + "devcon.outs";
    std::ofstream(script, std::ios::binary)
        << ">devcon find \"USB\\VID_0C45*\"\r\nNo matching devices found.\r\n"
           ">devcon status \"PCI\\VEN_10EC&DEV_8136*\"\r\n    Device is disabled.\r\n"
           ">devcon status \"USB\\VID_064E*\"\r\n    Device is Disabled.\r\n"
           ">devcon status \"PCI\\VEN_168C&DEV_001C*\"\r\n    Driver is running.\r\n"
           ">devcon status \"USB\\VID_12 /r x*\"\r\nUSB\\VID_12\r\n    Device is disabled.\r\n";
    const SettingsRecord saved = modSettings::Settings;
    modSettings::Settings.CustomDeviceID = "USB\\VID_12\" /r \"x";
    CommandLog::Clear();
    DetectWebcam();
    ReadDevicesStatus();
    EXPECT_EQ(CommandLog::Lines(), (CommandLog::Text{"devcon find \"USB\\VID_0C45*\"", "devcon status \"PCI\\VEN_10EC&DEV_8136*\"",
                                                     "devcon status \"USB\\VID_064E*\"", "devcon status \"PCI\\VEN_168C&DEV_001C*\"",
                                                     "devcon status \"USB\\VID_12 /r x*\""}));
    EXPECT_EQ(std::string(LanEnabled() ? "L" : "") + (WebcamEnabled() ? "W" : "") + (WifiEnabled() ? "F" : "") +
                  (CustomDeviceEnabled() ? "C" : ""), "WF");
    modSettings::Settings = saved;
    DeleteFileA(script.c_str());
    CommandLog::Clear();
}

}  // namespace
