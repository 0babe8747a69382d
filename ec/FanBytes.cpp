#include "ec/FanBytes.h"

namespace FanBytes {

// The firmware changed its fan bytes twice; 3304 counts as new for slow but old for off.

uint8_t FanOffByte(int16_t biosVersion, bool useCustom, uint8_t customOff) {
    if (useCustom)
        return customOff;
    if (biosVersion <= 3114)
        return 0x1F;
    if (biosVersion <= 3304)
        return 0x20;
    return 0xAF;
}

uint8_t FanSlowByte(int16_t biosVersion, bool useCustom, uint8_t customSlow) {
    if (useCustom)
        return customSlow;
    return biosVersion >= 3304 ? 0x10 : 0x20;
}

uint8_t FanAutoByte(bool useCustom, uint8_t customAuto) {
    return useCustom ? customAuto : 0x00;
}

}  // namespace FanBytes
