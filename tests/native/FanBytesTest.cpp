#include "ec/FanBytes.h"

#include <gtest/gtest.h>

using namespace FanBytes;

// Custom bytes in every row: off 0x42, slow 0x24, auto 0x81. The version is compared as a
// signed number (-32768), 0 when it was not read, and 3304 is new for slow, still old for off.
TEST(FanBytes, ByBiosVersionUnlessCustom) {
    const struct { int16_t bios; bool custom; uint8_t off, slow, autoByte; } rows[] = {
        {-32768, false, 0x1F, 0x20, 0x00}, {0, false, 0x1F, 0x20, 0x00},    {3114, false, 0x1F, 0x20, 0x00},
        {3115, false, 0x20, 0x20, 0x00},   {3303, false, 0x20, 0x20, 0x00}, {3304, false, 0x20, 0x10, 0x00},
        {3305, false, 0xAF, 0x10, 0x00},   {3114, true, 0x42, 0x24, 0x81},  // custom bytes win whatever the version
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.bios << (r.custom ? " custom" : ""));
        EXPECT_EQ(FanOffByte(r.bios, r.custom, 0x42), r.off);
        EXPECT_EQ(FanSlowByte(r.bios, r.custom, 0x24), r.slow);
        EXPECT_EQ(FanAutoByte(r.custom, 0x81), r.autoByte);
    }
    // A custom zero is written as such, not replaced by the version's byte.
    EXPECT_EQ(FanOffByte(3305, true, 0x00), 0x00);
    EXPECT_EQ(FanSlowByte(3305, true, 0x00), 0x00);
}
