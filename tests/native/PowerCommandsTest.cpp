#include "system/PowerCommands.h"

#include <gtest/gtest.h>

#include <string>

using modPowerMan::PowerSource;

namespace {

TEST(PowerCommandsTest, ThrottleLineForEachSourceAndMode) {
    EXPECT_EQ(modPowerMan::CreateSchemeCommand() + "|" + modPowerMan::ActivateSchemeCommand(),
              "powercfg /c vantu|powercfg /s vantu");
    const struct { int32_t mode; const char* keyword; } modes[] = {
        {0, "constant"}, {1, "adaptive"}, {2, "none"},
        // no keyword: the line ends in the space
        {3, ""}, {7, ""}, {-1, ""}, {INT32_MIN, ""}, {0x10001, ""},  // no cut to 16 bits
    };
    for (const auto& m : modes) {
        EXPECT_EQ(modPowerMan::ThrottleCommand(PowerSource::Mains, m.mode),
                  std::string("powercfg /x vantu /processor-throttle-ac ") + m.keyword) << m.mode;
        EXPECT_EQ(modPowerMan::ThrottleCommand(PowerSource::Battery, m.mode),
                  std::string("powercfg /x vantu /processor-throttle-dc ") + m.keyword) << m.mode;
    }
}

TEST(PowerCommandsTest, EveryLineStateOtherThanZeroCountsAsMains) {
    const struct { uint8_t acLineStatus; PowerSource source; } cases[] = {
        {0, PowerSource::Battery}, {1, PowerSource::Mains}, {255, PowerSource::Mains}};
    for (const auto& c : cases) {
        const PowerStatusRecord status{c.acLineStatus, 8, 0, 0, 0, 0};
        EXPECT_EQ(modPowerMan::SourceInUse(status), c.source) << int(c.acLineStatus);
    }
}

}  // namespace
