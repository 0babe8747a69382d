#pragma once
// The EC read and write transactions of the ACPI embedded-controller interface, over a
// small port interface so that the handshake runs the same against WinIo and in tests.
#include <cstdint>

namespace EcProtocol {

inline constexpr uint16_t DataPort = 0x62, CommandPort = 0x66;
inline constexpr uint8_t IBF = 0x02, OBF = 0x01, ReadCommand = 0x80, WriteCommand = 0x81;
// Longest wait for one status change, in 1 ms pauses.
inline constexpr int16_t MaxPauses = 100;
// Longest wait for the EC lock that other programs share, in milliseconds.
inline constexpr uint32_t LockWait = 100;

// One-byte port access, the pause between two status reads, and the lock that other
// programs reading the same EC take around each of their transactions.
struct PortIo {
    virtual ~PortIo() = default;
    virtual uint8_t InPort(uint16_t port) = 0;
    virtual void OutPort(uint8_t value, uint16_t port) = 0;
    virtual void Pause() = 0;  // 1 ms
    // Waits up to LockWait for the lock; false when another program kept it.
    virtual bool Lock() = 0;
    virtual void Unlock() = 0;
};

enum class WantedState { Clear, Set };

// Polls the status port until the bits of mask are all clear (Clear) or any of them is
// set (Set); false when that took 100 pauses.
bool WaitECStatus(PortIo& io, uint16_t port, uint8_t mask, WantedState wanted);
bool WaitInputBufferEmpty(PortIo& io);
bool WaitOutputBufferFull(PortIo& io);

// Each transaction runs whole under the lock, or not at all when the lock cannot be had.
// Writes value into the EC register reg (value first, register second); false when it
// was skipped for the lock (a time-out of the EC itself still counts as a transaction).
bool WriteEC(PortIo& io, uint8_t value, uint8_t reg);
// The contents of the EC register reg; 0 when the EC never offered the data. A byte
// already waiting before the command (left by an abandoned transaction) is read first
// and dropped, so that it is not taken for the answer.
uint8_t ReadEC(PortIo& io, uint8_t reg);

}  // namespace EcProtocol
