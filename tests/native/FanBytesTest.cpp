#include "ec/FanBytes.h"

#include <gtest/gtest.h>

using namespace FanBytes;

namespace {

TEST(FanBytes, ByBiosVersion) {
    struct Row { int16_t bios; uint8_t off, slow; };
    const Row rows[] = {
        {-32768, 0x1F, 0x20},  // compared as a signed number
        {0, 0x1F, 0x20},       // version not read
        {3114, 0x1F, 0x20},
        {3115, 0x20, 0x20},
        {3303, 0x20, 0x20},
        {3304, 0x20, 0x10},    // new for slow, still old for off
        {3305, 0xAF, 0x10},
        {32767, 0xAF, 0x10},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.bios);
        EXPECT_EQ(FanOffByte(r.bios, false, 0x77), r.off);
        EXPECT_EQ(FanSlowByte(r.bios, false, 0x77), r.slow);
    }
    EXPECT_EQ(FanAutoByte(false, 0x77), 0x00);
}

TEST(FanBytes, CustomBytesWinWhateverTheVersion) {
    for (int16_t bios : {int16_t{0}, int16_t{3114}, int16_t{3304}, int16_t{3305}}) {
        SCOPED_TRACE(bios);
        EXPECT_EQ(FanOffByte(bios, true, 0x42), 0x42);
        EXPECT_EQ(FanSlowByte(bios, true, 0x24), 0x24);
    }
    EXPECT_EQ(FanAutoByte(true, 0x81), 0x81);
    EXPECT_EQ(FanAutoByte(true, 0x00), 0x00);
    // A custom zero is written as such, not replaced by the version's byte.
    EXPECT_EQ(FanOffByte(3305, true, 0x00), 0x00);
    EXPECT_EQ(FanSlowByte(3305, true, 0x00), 0x00);
}

}  // namespace
