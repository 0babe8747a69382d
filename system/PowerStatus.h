#pragma once
// The power status record as the platform reports it (same fields and widths as
// SYSTEM_POWER_STATUS), kept OS-free so that decisions over it are tested natively.
#include <cstdint>

struct PowerStatusRecord {
    uint8_t ACLineStatus = 0;        // 0 on battery; anything else counts as mains
    uint8_t BatteryFlag = 0;         // 8 charging, 128 no system battery
    uint8_t BatteryLifePercent = 0;  // 255 when unknown
    uint8_t Reserved1 = 0;
    int32_t BatteryLifeTime = 0;     // seconds left, -1 when unknown
    int32_t BatteryFullLifeTime = 0;
};
