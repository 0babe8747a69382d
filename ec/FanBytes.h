#pragma once
// The byte each fan mode writes to the EC's fan register: chosen by BIOS version, unless
// the user set bytes of his own.
#include <cstdint>

namespace FanBytes {

uint8_t FanOffByte(int16_t biosVersion, bool useCustom, uint8_t customOff);
uint8_t FanSlowByte(int16_t biosVersion, bool useCustom, uint8_t customSlow);
uint8_t FanAutoByte(bool useCustom, uint8_t customAuto);

}  // namespace FanBytes
