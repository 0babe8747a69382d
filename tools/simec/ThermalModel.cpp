#include "tools/simec/ThermalModel.h"

#include <algorithm>
#include <cmath>

namespace {
double Towards(double value, double target, double step) {
    return value > target ? std::max(target, value - step) : std::min(target, value + step);
}
}  // namespace

void ThermalModel::Advance(uint32_t nowMs, uint8_t fanByte) {
    // Unsigned difference: right across the tick counter's wrap after 49 days.
    const double seconds = static_cast<uint32_t>(nowMs - lastMs_) / 1000.0;
    lastMs_ = nowMs;
    switch (fanByte) {
        case 0x1F:
        case 0xAF:  // the off bytes of the BIOS versions
            degrees_ += 0.5 * seconds;
            break;
        case 0x10:
        case 0x20:  // the slow bytes
            degrees_ = Towards(degrees_, 45.0, 0.3 * seconds);
            break;
        default:  // the EC's own control
            degrees_ = Towards(degrees_, 40.0, 0.6 * seconds);
            break;
    }
    degrees_ = std::clamp(degrees_, 30.0, 95.0);
}

uint8_t ThermalModel::Degrees() const {
    return static_cast<uint8_t>(std::lround(degrees_));
}
