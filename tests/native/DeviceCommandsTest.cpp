#include "system/DeviceCommands.h"

#include <gtest/gtest.h>

using namespace modDeviceControl;

// An enumerator and a backslash first; * ? @ = " nowhere but one * at the very end.
TEST(DeviceCommandsTest, ACustomIdNamesDevicesNotAllOfThem) {
    const struct { const char* id; bool names; } cases[] = {
        {"USB\\VID_1BCF*", true}, {"PCI\\VEN_8086&DEV_27D8", true}, {"HID_1\\x", true}, {"ACPI\\", true},
        {"", false}, {"*", false}, {"\\VID_1BCF", false}, {"USB", false}, {"US-B\\VID", false},
        {"USB\\VID_1BCF**", false}, {"USB\\*", true}, {"USB\\VID*_1", false}, {"USB\\VID?", false},
        {"USB\\@x", false}, {"USB\\A=B", false}, {"USB\\A\"B", false}, {"*USB\\x", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NamesDevices(c.id), c.names) << c.id;
}

TEST(DeviceCommandsTest, OutputWordsAreMatchedCaseSensitively) {
    const struct { const char* output; const char* webcam; } finds[] = {
        {"No matching devices found.\r\n", WebcamPattern2}, {"no matching devices found.\r\n", WebcamPattern1},
        {"USB\\VID_0C45&PID_62C0\\5&2B3E: USB Camera\r\n1 matching device(s) found.\r\n", WebcamPattern1},
    };
    for (const auto& f : finds)
        EXPECT_STREQ(WebcamPatternFromFind(f.output), f.webcam) << f.output;
    const struct { const char* output; bool enabled; } statuses[] = {
        {"USB\\VID_0C45\r\n    Device is disabled.\r\n", false}, {"USB\\VID_0C45\r\n    Device is Disabled.\r\n", true},
        {"    Driver is running.\r\n", true},
    };
    for (const auto& s : statuses)
        EXPECT_EQ(EnabledFromStatus(s.output), s.enabled) << s.output;
    const struct { const char* output; std::optional<int> count; } counts[] = {
        {"No matching devices found.\r\n", 0}, {finds[2].output, 1}, {"a\r\nb\r\n10 matching device(s) found.\r\n", 10},
        {"matching device(s) found.", {}}, {"devcon failed.", {}}, {"1234567 matching device(s) found.", {}},
    };
    for (const auto& c : counts)
        EXPECT_EQ(MatchingDevices(c.output), c.count) << c.output;
}

TEST(DeviceCommandsTest, CommandLines) {
    EXPECT_EQ(FindCommand(WebcamPattern1), "devcon find \"USB\\VID_0C45*\"");
    EXPECT_EQ(StatusCommand(CustomDevicePattern("USB\\VID_1BCF*")), "devcon status \"USB\\VID_1BCF**\"");
    EXPECT_EQ(StatusCommand(LanPattern), "devcon status \"PCI\\VEN_10EC&DEV_8136*\"");
    EXPECT_EQ(ToggleCommand(true, WifiPattern), "devcon enable \"PCI\\VEN_168C&DEV_001C*\"");
    EXPECT_EQ(ToggleCommand(false, WifiPattern), "devcon disable \"PCI\\VEN_168C&DEV_001C*\"");
    EXPECT_EQ(DiskApmCommand(254), "hdparm -B 254 hda");
}

// 254 is sent while "Prevent HD clicks" is on and not yet in force, 128 once when it
// goes off; nothing else.
TEST(DeviceCommandsTest, DiskLevelToSend) {
    const struct { bool prevent; int16_t inForce; std::optional<int16_t> sent; } cases[] = {
        {true, 128, 254}, {true, 254, {}}, {false, 254, 128}, {false, 128, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DiskApmLevelToSend(c.prevent, c.inForce), c.sent) << c.prevent << " " << c.inForce;
}
