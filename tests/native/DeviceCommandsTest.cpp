// The command lines themselves are checked where they are run (tests/wine, tests/e2e);
// here the edge cases of the pattern and the words.
#include "system/DeviceCommands.h"

#include <gtest/gtest.h>

using namespace modDeviceControl;

namespace {

// No quote of the stored ID reaches the line.
TEST(DeviceCommandsTest, CustomPatternLeavesNoWayOutOfItsQuotes) {
    const struct { const char* id; const char* pattern; } cases[] = {
        {"USB\\VID_12\" /r \"x", "\"USB\\VID_12 /r x*\""},
        {"\"", "\"*\""},
        {"\"\"USB\"", "\"USB*\""},
        {"PCI\\", "\"PCI\\*\""},  // the asterisk keeps a trailing backslash off the quote
    };
    for (const auto& c : cases)
        EXPECT_EQ(CustomDevicePattern(c.id), c.pattern) << c.id;
}

TEST(DeviceCommandsTest, OutputWordsAreMatchedCaseSensitively) {
    const struct { const char* output; const char* webcam; } finds[] = {
        {"No matching devices found.\r\n", WebcamPattern2},
        {"no matching devices found.\r\n", WebcamPattern1},
        {"USB\\VID_0C45&PID_62C0\\5&2B3E: USB Camera\r\n1 matching device(s) found.\r\n",
         WebcamPattern1},
        {"", WebcamPattern1},
    };
    for (const auto& f : finds)
        EXPECT_STREQ(WebcamPatternFromFind(f.output), f.webcam) << f.output;

    const struct { const char* output; bool enabled; } statuses[] = {
        {"USB\\VID_0C45\r\n    Device is disabled.\r\n", false},
        {"USB\\VID_0C45\r\n    Device is Disabled.\r\n", true},
        {"    Driver is running.\r\n", true},
        {"No matching devices found.\r\n", true},
        {"", true},
    };
    for (const auto& s : statuses)
        EXPECT_EQ(EnabledFromStatus(s.output), s.enabled) << s.output;
}

}  // namespace
