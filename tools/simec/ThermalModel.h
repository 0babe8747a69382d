#pragma once
// A rough CPU temperature that follows the fan register, so that a fan rule can be
// watched acting on its own effect.
#include <cstdint>

class ThermalModel {
public:
    explicit ThermalModel(uint32_t nowMs) : lastMs_(nowMs) {}

    // Moves the temperature on to nowMs under the fan byte in force since the last call.
    void Advance(uint32_t nowMs, uint8_t fanByte);
    uint8_t Degrees() const;

private:
    double degrees_ = 50.0;
    uint32_t lastMs_;
};
