#include "system/PowerCommands.h"

#include <gtest/gtest.h>

using namespace modPowerMan;

// An unknown mode has no keyword: the line ends in the space; 0x10001 shows no cut to 16 bits.
TEST(PowerCommandsTest, ThrottleLineForEachSourceAndMode) {
    EXPECT_EQ(CreateSchemeCommand() + "|" + ActivateSchemeCommand(), "powercfg /c vantu|powercfg /s vantu");
    const struct { int32_t mode; const char* keyword; } modes[] = {
        {0, "constant"}, {1, "adaptive"}, {2, "none"}, {3, ""}, {7, ""}, {-1, ""}, {INT32_MIN, ""}, {0x10001, ""},
    };
    for (const auto& m : modes) {
        EXPECT_EQ(ThrottleCommand(PowerSource::Mains, m.mode),
                  std::string("powercfg /x vantu /processor-throttle-ac ") + m.keyword) << m.mode;
        EXPECT_EQ(ThrottleCommand(PowerSource::Battery, m.mode),
                  std::string("powercfg /x vantu /processor-throttle-dc ") + m.keyword) << m.mode;
    }
}
