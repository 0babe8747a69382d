#include <gtest/gtest.h>

#include "system/PowerCommands.h"

using modPowerMan::PowerSource;

namespace {

struct ThrottleCase {
    int32_t mode;
    PowerSource source;
    const char* line;
};

const ThrottleCase kThrottleCases[] = {
    {0, PowerSource::Mains, "powercfg /x vantu /processor-throttle-ac constant"},
    {1, PowerSource::Mains, "powercfg /x vantu /processor-throttle-ac adaptive"},
    {2, PowerSource::Mains, "powercfg /x vantu /processor-throttle-ac none"},
    {7, PowerSource::Mains, "powercfg /x vantu /processor-throttle-ac "},
    {0, PowerSource::Battery, "powercfg /x vantu /processor-throttle-dc constant"},
    {1, PowerSource::Battery, "powercfg /x vantu /processor-throttle-dc adaptive"},
    {2, PowerSource::Battery, "powercfg /x vantu /processor-throttle-dc none"},
    {7, PowerSource::Battery, "powercfg /x vantu /processor-throttle-dc "},
};

TEST(PowerCommandsTest, ThrottleLineForEachModeAndSource) {
    for (const auto& c : kThrottleCases) {
        SCOPED_TRACE(c.mode);
        EXPECT_EQ(modPowerMan::ThrottleCommand(c.source, c.mode), c.line);
    }
}

TEST(PowerCommandsTest, OnlyTheThreeKnownModesHaveKeywords) {
    EXPECT_EQ(modPowerMan::ThrottleModeName(-1), "");
    EXPECT_EQ(modPowerMan::ThrottleModeName(3), "");
    EXPECT_EQ(modPowerMan::ThrottleModeName(INT32_MIN), "");
    EXPECT_EQ(modPowerMan::ThrottleModeName(0x10001), "");  // no truncation to 16 bits
}

TEST(PowerCommandsTest, EveryLineStateOtherThanZeroCountsAsMains) {
    const struct {
        uint8_t acLineStatus;
        PowerSource source;
    } cases[] = {{0, PowerSource::Battery}, {1, PowerSource::Mains}, {255, PowerSource::Mains}};
    for (const auto& c : cases) {
        PowerStatusRecord status;
        status.ACLineStatus = c.acLineStatus;
        status.BatteryFlag = 8;
        EXPECT_EQ(modPowerMan::SourceInUse(status), c.source) << int(c.acLineStatus);
    }
}

}  // namespace
