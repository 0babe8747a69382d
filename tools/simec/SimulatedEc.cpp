#include "tools/simec/SimulatedEc.h"

#include <cstdio>

namespace {
constexpr uint8_t IBF = 0x02, OBF = 0x01;
constexpr uint8_t ReadCommandByte = 0x80, WriteCommandByte = 0x81;

std::string Line(const char* kind, unsigned a) {
    char line[16];
    std::snprintf(line, sizeof line, "%s %02X", kind, a & 0xFF);
    return line;
}

std::string Line(const char* kind, unsigned a, unsigned b) {
    return Line(kind, a) + Line("", b);
}
}  // namespace

void SimulatedEc::Configure(const SimEcControls& controls) {
    controls_ = controls;
    phase_ = Phase::Idle;
    busyReads_ = 0;
    outputPending_ = outputFull_ = false;
    outputDelay_ = 0;
    stale_.reset();
    if (controls.StaleOBF >= 0)
        stale_ = static_cast<uint8_t>(controls.StaleOBF);
    missedReads_ = controls.MissedReads;
    flapPosition_ = 0;
}

bool SimulatedEc::Idle() const {
    return phase_ == Phase::Idle && !outputPending_ && !outputFull_ && !stale_;
}

uint8_t SimulatedEc::ReadStatus() {
    if (controls_.StuckIBF)
        return IBF;
    const uint8_t obf = outputFull_ || stale_ ? OBF : 0;
    if (busyReads_ > 0) {
        --busyReads_;
        return IBF | obf;
    }
    if (stale_)
        return OBF;  // the answer waits until the stale byte is taken
    if (outputPending_) {
        if (outputDelay_ > 0) {
            --outputDelay_;
        } else {
            outputPending_ = false;
            outputFull_ = true;
        }
    }
    return outputFull_ ? OBF : 0;
}

uint8_t SimulatedEc::ReadData() {
    if (stale_) {
        const uint8_t value = *stale_;
        stale_.reset();
        log_(Line("STALE", value));
        return value;
    }
    if (outputFull_) {
        outputFull_ = false;
        ++completedReads_;
        Log("R", register_, output_);
    }
    return output_;
}

// A byte the host writes while IBF shows, or that no transaction expects, would be
// misread by a real EC: it is dropped and logged, so that a test sees the fault.
bool SimulatedEc::Accepting(uint16_t port, uint8_t value) {
    const bool expected = port == 0x66 || phase_ != Phase::Idle;
    if (!InputBufferFull() && expected) {
        busyReads_ = controls_.BusyReads;
        return true;
    }
    log_(Line("BAD", port, value));
    return false;
}

void SimulatedEc::WriteCommand(uint8_t command, uint32_t nowMs) {
    if (!Accepting(0x66, command))
        return;
    // A new command ends whatever came before, an unread byte included.
    outputPending_ = outputFull_ = false;
    thermal_.Advance(nowMs, registers_[controls_.FanRegister]);
    switch (command) {
        case ReadCommandByte: phase_ = Phase::ReadRegister; break;
        case WriteCommandByte: phase_ = Phase::WriteRegister; break;
        default:
            phase_ = Phase::Idle;
            log_(Line("BAD", 0x66, command));
            break;
    }
}

void SimulatedEc::WriteData(uint8_t value) {
    if (!Accepting(0x62, value))
        return;
    switch (phase_) {
        case Phase::ReadRegister: {
            register_ = value;
            if (value == controls_.TemperatureRegister)
                registers_[value] = controls_.Temperature >= 0
                                        ? static_cast<uint8_t>(controls_.Temperature)
                                        : thermal_.Degrees();
            output_ = registers_[value];
            bool missed = missedReads_ > 0;
            if (missed) {
                --missedReads_;
            } else if (controls_.FlapReads > 0) {
                missed = flapPosition_ < controls_.FlapReads;
                flapPosition_ = (flapPosition_ + 1) % (controls_.FlapReads + 1);
            }
            outputPending_ = !controls_.NoOBF && !missed;
            if (missed && controls_.LogTransactions)
                log_(Line("MISS", value));
            outputDelay_ = controls_.BusyReads;
            phase_ = Phase::Idle;
            break;
        }
        case Phase::WriteRegister:
            register_ = value;
            phase_ = Phase::WriteValue;
            break;
        case Phase::WriteValue:
            registers_[register_] = value;
            phase_ = Phase::Idle;
            Log("W", register_, value);
            break;
        case Phase::Idle:
            break;  // Accepting() refused it
    }
}

void SimulatedEc::Log(const char* kind, uint8_t a, uint8_t b) {
    if (controls_.LogTransactions)
        log_(Line(kind, a, b));
}
