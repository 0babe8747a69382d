// modDeviceControl and the tick's disk step against the recording fakes devcon.exe
// and hdparm.exe beside the test program, with devcon's output scripted per line.
#include "system/modDeviceControl.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "CommandLog.h"
#include "app/frmMain.h"
#include "ec/modAcerEC.h"
#include "settings/modSettings.h"

using namespace modDeviceControl;

namespace {

using Lines = std::vector<std::string>;

const char kQuotedId[] = "USB\\VID_12\" /r \"x";

class ModDeviceControl : public testing::Test {
protected:
    void SetUp() override {
        savedSettings_ = modSettings::Settings;
        savedLevel_ = ApmLevelInForce();
        CommandLog::Clear();
        DeleteFileA(ScriptPath().c_str());
    }

    void TearDown() override {
        MoveFileA(AwayPath().c_str(), DevconPath().c_str());
        DeleteFileA(ScriptPath().c_str());
        CommandLog::Clear();
        modSettings::Settings = savedSettings_;
        SetApmLevelInForce(savedLevel_);
    }

    static std::string DevconPath() { return modSettings::AppFolder() + "devcon.exe"; }
    static std::string AwayPath() { return modSettings::AppFolder() + "devcon.exe.away"; }
    static std::string ScriptPath() { return modSettings::AppFolder() + "devcon.outs"; }

    static void ScriptDevcon(const std::string& text) {
        std::ofstream(ScriptPath(), std::ios::binary) << text;
    }

private:
    SettingsRecord savedSettings_;
    int16_t savedLevel_ = 0;
};

// "disabled" only in lower case counts; the custom device's quote stays out of the line.
TEST_F(ModDeviceControl, StatusIsReadInItsOrderFromDevconsWords) {
    modSettings::Settings.CustomDeviceID = kQuotedId;
    ScriptDevcon(">devcon find \"USB\\VID_0C45*\"\r\nNo matching devices found.\r\n"
                 ">devcon status \"PCI\\VEN_10EC&DEV_8136*\"\r\n    Device is disabled.\r\n"
                 ">devcon status \"USB\\VID_064E*\"\r\n    Device is Disabled.\r\n"
                 ">devcon status \"PCI\\VEN_168C&DEV_001C*\"\r\n    Driver is running.\r\n"
                 ">devcon status \"USB\\VID_12 /r x*\"\r\nUSB\\VID_12\r\n    Device is disabled.\r\n");
    DetectWebcam();
    ReadDevicesStatus();
    EXPECT_EQ(CommandLog::Lines(), (Lines{"devcon find \"USB\\VID_0C45*\"",
                                          "devcon status \"PCI\\VEN_10EC&DEV_8136*\"",
                                          "devcon status \"USB\\VID_064E*\"",
                                          "devcon status \"PCI\\VEN_168C&DEV_001C*\"",
                                          "devcon status \"USB\\VID_12 /r x*\""}));
    EXPECT_EQ(WebcamID(), WebcamPattern2);
    EXPECT_FALSE(LanEnabled());
    EXPECT_TRUE(WebcamEnabled());
    EXPECT_TRUE(WifiEnabled());
    EXPECT_FALSE(CustomDeviceEnabled());
    EXPECT_EQ(modSettings::Settings.CustomDeviceID, kQuotedId);  // kept as typed
}

// The flags follow the toggles at once; the commands run on their own.
TEST_F(ModDeviceControl, TogglesSetTheirFlagAndStartDevcon) {
    modSettings::Settings.CustomDeviceID = "PCI\\VEN_8086*";
    DetectWebcam();  // devcon finds the first model: no "No matching"
    CommandLog::Clear();
    ToggleLAN(false);
    ToggleWifi(true);
    ToggleWebcam(false);
    ToggleCustomDevice(true);
    EXPECT_FALSE(LanEnabled());
    EXPECT_TRUE(WifiEnabled());
    EXPECT_FALSE(WebcamEnabled());
    EXPECT_TRUE(CustomDeviceEnabled());
    Lines lines = CommandLog::WaitForLines(4);
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (Lines{"devcon disable \"PCI\\VEN_10EC&DEV_8136*\"",
                            "devcon disable \"USB\\VID_0C45*\"",
                            "devcon enable \"PCI\\VEN_168C&DEV_001C*\"",
                            "devcon enable \"PCI\\VEN_8086**\""}));
}

// The failure sentence holds neither word: first webcam model, every device enabled.
TEST_F(ModDeviceControl, WithoutDevconEveryDeviceReadsAsEnabled) {
    ToggleLAN(false);
    ToggleCustomDevice(false);
    CommandLog::WaitForLines(2);
    ASSERT_TRUE(MoveFileA(DevconPath().c_str(), AwayPath().c_str()));
    CommandLog::Clear();
    DetectWebcam();
    ReadDevicesStatus();
    ToggleWifi(false);  // returns normally, the flag set as asked
    EXPECT_EQ(WebcamID(), WebcamPattern1);
    EXPECT_TRUE(LanEnabled());
    EXPECT_TRUE(WebcamEnabled());
    EXPECT_FALSE(WifiEnabled());
    EXPECT_TRUE(CustomDeviceEnabled());
    EXPECT_TRUE(CommandLog::Lines().empty());
}

// The tick's last step, alone: an EC reading 0 skips everything before it.
class DiskStep : public ModDeviceControl {
protected:
    void SetUp() override {
        ModDeviceControl::SetUp();
        modAcerEC::CloseEC();
        std::ofstream(EcPath("simec.ini"), std::ios::binary) << "[EC]\r\nTemperature=0\r\n";
    }
    void TearDown() override {
        modAcerEC::CloseEC();
        DeleteFileA(EcPath("simec.ini").c_str());
        DeleteFileA(EcPath("simec.log").c_str());
        ModDeviceControl::TearDown();
    }
    static std::string EcPath(const char* name) { return modSettings::AppFolder() + name; }
};

TEST_F(DiskStep, LevelIsSentWhenTheOptionChangesAndAgainAfterAReset) {
    const Lines on{"hdparm -B 254 hda"};
    const Lines onTwice{"hdparm -B 254 hda", "hdparm -B 254 hda"};
    const Lines thenOff{"hdparm -B 254 hda", "hdparm -B 254 hda", "hdparm -B 128 hda"};
    const struct { const char* what; bool prevent; bool reset; const Lines& lines; } steps[] = {
        {"option on at start", true, false, on},
        {"no change, nothing sent", true, false, on},
        {"resume-like reset to 128", true, true, onTwice},
        {"option off", false, false, thenOff},
        {"still off", false, false, thenOff},
    };
    SetApmLevelInForce(ApmLevelDefault);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        modSettings::Settings.PreventHDClicks = step.prevent;
        if (step.reset)
            SetApmLevelInForce(ApmLevelDefault);
        frmMain::TimerMon_Timer();
        frmMain::TimerMon_Timer();
        EXPECT_EQ(CommandLog::WaitForLines(step.lines.size()), step.lines);
    }
    EXPECT_EQ(ApmLevelInForce(), ApmLevelDefault);
}

}  // namespace
