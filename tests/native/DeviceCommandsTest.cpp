#include "system/DeviceCommands.h"

#include <gtest/gtest.h>

#include <string>

using namespace modDeviceControl;

namespace {

TEST(DeviceCommandsTest, CommandLinesKeepThePatternsQuotes) {
    EXPECT_EQ(FindCommand(WebcamPattern1), "devcon find \"USB\\VID_0C45*\"");
    EXPECT_EQ(StatusCommand(LanPattern), "devcon status \"PCI\\VEN_10EC&DEV_8136*\"");
    EXPECT_EQ(ToggleCommand(false, WifiPattern), "devcon disable \"PCI\\VEN_168C&DEV_001C*\"");
    EXPECT_EQ(ToggleCommand(true, WebcamPattern2), "devcon enable \"USB\\VID_064E*\"");
    EXPECT_EQ(DiskApmCommand(254), "hdparm -B 254 hda");
    EXPECT_EQ(DiskApmCommand(128), "hdparm -B 128 hda");
}

// The stored ID is used as typed, except that no quote of it reaches the line.
TEST(DeviceCommandsTest, CustomPatternIsTheIdAndAnAsteriskInQuotes) {
    const struct { const char* id; const char* pattern; } cases[] = {
        {"USB\\VID_1BCF*", "\"USB\\VID_1BCF**\""},
        {"USB\\VID_1BCF", "\"USB\\VID_1BCF*\""},
        {"", "\"*\""},
        {"USB\\VID_12\" /r \"x", "\"USB\\VID_12 /r x*\""},
        {"\"", "\"*\""},
        {"PCI\\", "\"PCI\\*\""},  // the asterisk keeps a trailing backslash off the quote
    };
    for (const auto& c : cases)
        EXPECT_EQ(CustomDevicePattern(c.id), c.pattern) << c.id;
}

TEST(DeviceCommandsTest, OutputWordsAreMatchedCaseSensitively) {
    EXPECT_STREQ(WebcamPatternFromFind("No matching devices found.\r\n"), WebcamPattern2);
    EXPECT_STREQ(WebcamPatternFromFind("no matching devices found.\r\n"), WebcamPattern1);
    EXPECT_STREQ(WebcamPatternFromFind("USB\\VID_0C45&PID_62C0\\5&2B3E: USB Camera\r\n"
                                       "1 matching device(s) found.\r\n"),
                 WebcamPattern1);
    EXPECT_STREQ(WebcamPatternFromFind(""), WebcamPattern1);

    EXPECT_FALSE(EnabledFromStatus("USB\\VID_0C45\r\n    Device is disabled.\r\n"));
    EXPECT_TRUE(EnabledFromStatus("USB\\VID_0C45\r\n    Device is Disabled.\r\n"));
    EXPECT_TRUE(EnabledFromStatus("    Driver is running.\r\n"));
    EXPECT_TRUE(EnabledFromStatus("No matching devices found.\r\n"));
    EXPECT_TRUE(EnabledFromStatus(""));
}

TEST(DeviceCommandsTest, DiskLevelIsSentOnlyWhenTheOptionAndTheLevelInForceDisagree) {
    const struct { bool prevent; int16_t inForce; std::optional<int16_t> sent; } cases[] = {
        {true, 128, 254},  {true, 254, std::nullopt}, {true, 0, 254},
        {false, 254, 128}, {false, 128, std::nullopt}, {false, 0, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DiskApmLevelToSend(c.prevent, c.inForce), c.sent) << c.prevent << " " << c.inForce;
}

}  // namespace
