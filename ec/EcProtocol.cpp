#include "ec/EcProtocol.h"

namespace EcProtocol {

namespace {
bool Shows(uint8_t status, uint8_t mask, WantedState wanted) {
    return wanted == WantedState::Clear ? (status & mask) == 0 : (status & mask) != 0;
}

// The EC lock for the length of one transaction, released on every way out of it.
class Locked {
public:
    explicit Locked(PortIo& io) : io_(io), held_(io.Lock()) {}
    ~Locked() {
        if (held_)
            io_.Unlock();
    }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
    explicit operator bool() const { return held_; }

private:
    PortIo& io_;
    bool held_;
};
}  // namespace

bool WaitECStatus(PortIo& io, uint16_t port, uint8_t mask, WantedState wanted) {
    // The first read comes before any pause, so an idle EC costs no sleep.
    uint8_t status = io.InPort(port);
    int16_t pauses = 0;
    while (!Shows(status, mask, wanted) && pauses < MaxPauses) {
        io.Pause();
        ++pauses;
        status = io.InPort(port);
    }
    // After the last pause the EC has had its time: what that read shows no longer counts.
    return pauses < MaxPauses;
}

bool WaitInputBufferEmpty(PortIo& io) {
    return WaitECStatus(io, CommandPort, IBF, WantedState::Clear);
}

bool WaitOutputBufferFull(PortIo& io) {
    return WaitECStatus(io, CommandPort, OBF, WantedState::Set);
}

// Both transactions stop at their first timed-out wait: a register or value byte sent
// without the command before it would reach the EC as data of whatever it was doing,
// and could land in a register nobody meant to write.

namespace {

void WriteSteps(PortIo& io, uint8_t value, uint8_t reg) {
    if (!WaitInputBufferEmpty(io))
        return;
    io.OutPort(WriteCommand, CommandPort);
    if (!WaitInputBufferEmpty(io))
        return;
    io.OutPort(reg, DataPort);
    if (!WaitInputBufferEmpty(io))
        return;
    io.OutPort(value, DataPort);
}

uint8_t ReadSteps(PortIo& io, uint8_t reg) {
    if (io.InPort(CommandPort) & OBF)
        io.InPort(DataPort);  // stale: not the answer to the command below
    if (!WaitInputBufferEmpty(io))
        return 0;
    io.OutPort(ReadCommand, CommandPort);
    if (!WaitInputBufferEmpty(io))
        return 0;
    io.OutPort(reg, DataPort);
    if (!WaitOutputBufferFull(io))
        return 0;
    return io.InPort(DataPort);
}

}  // namespace

// While another program's transaction holds the lock: skipped, as after a time-out.
bool WriteEC(PortIo& io, uint8_t value, uint8_t reg) {
    const Locked lock(io);
    if (lock)
        WriteSteps(io, value, reg);
    return static_cast<bool>(lock);
}

uint8_t ReadEC(PortIo& io, uint8_t reg) {
    const Locked lock(io);
    return lock ? ReadSteps(io, reg) : 0;
}

}  // namespace EcProtocol
