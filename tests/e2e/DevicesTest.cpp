// The device and disk commands of the real program, read from the log of the
// recording fakes (devcon.exe, hdparm.exe) put beside it.
#include <gtest/gtest.h>

#include "Harness.h"

namespace e2e {
namespace {

using Lines = std::vector<std::string>;

const milliseconds kWait = kEventBound;
const Lines kPowercfg{"powercfg /c vantu", "powercfg /s vantu",
                      "powercfg /x vantu /processor-throttle-ac adaptive",
                      "powercfg /x vantu /processor-throttle-dc constant"};

// Runs vantu for three ticks and, since hdparm runs on its own, until commands.log
// holds `commands` lines; then closes it.
void StartAndClose(const TestFolder& folder, size_t commands = 0,
                   const std::string& currentDirectory = "") {
    Vantu vantu(folder, "vantu.exe", currentDirectory);
    ASSERT_TRUE(folder.WaitForEcLog("R 58", 3, kWait)) << "no three monitor ticks";
    ASSERT_TRUE(folder.WaitForCommands(commands, kWait));
    vantu.Close();
    ASSERT_TRUE(vantu.WaitForExit().has_value());
}

Lines Starting(const Lines& lines, const std::string& prefix) {
    Lines matching;
    for (const auto& line : lines)
        if (line.rfind(prefix, 0) == 0)
            matching.push_back(line);
    return matching;
}

// Start-up looks for the first webcam model, then reads LAN, webcam, WiFi and the
// custom device, all before the power scheme; the custom ID is saved as typed.
TEST(Devices, StartUpFindsTheWebcamThenReadsTheFourDevicesInOrder) {
    const char* noFirstWebcam = ">devcon find \"USB\\VID_0C45*\"\r\nNo matching devices found.\r\n";
    const struct {
        const char* what;
        const char* customId;  // nullptr: the default
        const char* devconOuts;
        const char* webcam;
        const char* custom;
    } cases[] = {
        {"defaults", nullptr, "", "\"USB\\VID_0C45*\"", "\"USB\\VID_1BCF**\""},
        {"second webcam, ID without asterisk", "USB\\VID_1234", noFirstWebcam,
         "\"USB\\VID_064E*\"", "\"USB\\VID_1234*\""},
        {"empty ID", "", "", "\"USB\\VID_0C45*\"", "\"*\""},
        {"ID holding quotes", "USB\\VID_12\" /r \"x", "", "\"USB\\VID_0C45*\"",
         "\"USB\\VID_12 /r x*\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestFolder folder;
        folder.AddFakeCommand("devcon");
        WriteFileText(folder.Path("devcon.outs"), c.devconOuts);
        const std::string id = c.customId ? c.customId : "USB\\VID_1BCF*";
        std::string ini = "[Advanced]\r\nTimerInterval=100\r\n";
        if (c.customId)
            ini += std::string("[Special]\r\nCustomDeviceID=") + c.customId + "\r\n";
        folder.WriteIni(ini);
        Lines expected{"devcon find \"USB\\VID_0C45*\"",
                       "devcon status \"PCI\\VEN_10EC&DEV_8136*\"",
                       std::string("devcon status ") + c.webcam,
                       "devcon status \"PCI\\VEN_168C&DEV_001C*\"",
                       std::string("devcon status ") + c.custom};
        expected.insert(expected.end(), kPowercfg.begin(), kPowercfg.end());
        // The powercfg lines come from commands started without waiting: wait for them.
        StartAndClose(folder, expected.size());
        EXPECT_EQ(folder.Commands(), expected);
        EXPECT_NE(folder.Ini().find("\r\nCustomDeviceID=" + id + "\r\n"), std::string::npos)
            << folder.Ini();
    }
}

// Start-up puts 128 in force, so the first tick sends 254 when the option is on; no
// later tick sends it again, and with the option off nothing is sent.
TEST(Devices, PreventHDClicksSendsLevel254OnceAtStart) {
    const struct { const char* option; Lines sent; } cases[] = {
        {"True", {"hdparm -B 254 hda"}},
        {"False", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        TestFolder folder;
        folder.AddFakeCommand("hdparm");
        folder.WriteIni(std::string("[Advanced]\r\nTimerInterval=100\r\nPreventHDClicks=") +
                        c.option + "\r\n");
        StartAndClose(folder, kPowercfg.size() + c.sent.size());
        EXPECT_EQ(Starting(folder.Commands(), "hdparm"), c.sent);
    }
}

// A devcon or hdparm in the current directory, not in the program's folder, is not
// run (the program has administrator rights); start-up still goes on past them.
TEST(Devices, CommandsPlantedInTheCurrentDirectoryAreNotRun) {
    TestFolder folder;
    const std::string planted = folder.Path("Downloads");
    ASSERT_TRUE(CreateDirectoryA(planted.c_str(), nullptr));
    folder.AddFakeCommand("Downloads\\devcon");
    folder.AddFakeCommand("Downloads\\hdparm");
    folder.WriteIni("[Advanced]\r\nTimerInterval=100\r\nPreventHDClicks=True\r\n");
    StartAndClose(folder, kPowercfg.size(), planted);
    EXPECT_EQ(ReadLines(planted + "\\commands.log"), Lines{});
    EXPECT_EQ(folder.Commands(), kPowercfg);
}

}  // namespace
}  // namespace e2e
