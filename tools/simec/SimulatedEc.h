#pragma once
// The EC side of the ACPI embedded-controller handshake: status and data ports, the
// read and write commands, 256 registers, and the faults a test can switch on.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "tools/simec/ThermalModel.h"

// The [EC] keys of simec.ini.
struct SimEcControls {
    uint8_t TemperatureRegister = 0x58, FanRegister = 0x55;  // as on the Aspire One, unless set
    int Temperature = -1;  // fixed value of the temperature register; negative: the thermal model runs
    int InitFailures = 0;
    bool PortsWithoutInit = false;  // serve ports before InitializeWinIo (WinExports)
    bool StuckIBF = false;
    bool NoOBF = false;
    int BusyReads = 0;
    bool LogTransactions = true;
    int StaleOBF = -1;       // a byte left waiting at 0x62 (OBF set); negative: none
    int MissedReads = 0;     // the next N reads get no answer
    int FlapReads = 0;       // over and over: N reads get no answer, then one is served
    int CrashAtPortRead = 0; // the N-th port read raises an access violation (WinIoExports)
};

class SimulatedEc {
public:
    using Logger = std::function<void(const std::string& line)>;
    SimulatedEc(Logger log, uint32_t nowMs) : log_(std::move(log)), thermal_(nowMs) {}

    // New controls; a transaction in progress is dropped, the registers are kept.
    void Configure(const SimEcControls& controls);
    // No transaction in progress and no byte waiting for the host.
    bool Idle() const;

    // Transactions completed since the library loaded, logged or not.
    uint64_t CompletedReads() const { return completedReads_; }

    uint8_t ReadStatus();
    uint8_t ReadData();
    void WriteCommand(uint8_t command, uint32_t nowMs);
    void WriteData(uint8_t value);

private:
    enum class Phase { Idle, ReadRegister, WriteRegister, WriteValue };

    bool InputBufferFull() const { return controls_.StuckIBF || busyReads_ > 0; }
    bool Accepting(uint16_t port, uint8_t value);
    void Log(const char* kind, uint8_t a, uint8_t b);

    Logger log_;
    ThermalModel thermal_;
    SimEcControls controls_;
    std::array<uint8_t, 256> registers_{};
    Phase phase_ = Phase::Idle;
    uint8_t register_ = 0;    // of the transaction in progress
    int busyReads_ = 0;       // status reads left that still show IBF
    bool outputPending_ = false;
    int outputDelay_ = 0;     // status reads left before OBF sets
    bool outputFull_ = false;
    uint8_t output_ = 0;
    // Left by a transaction someone abandoned: no command clears it, only a data read.
    std::optional<uint8_t> stale_;
    int missedReads_ = 0;
    int flapPosition_ = 0;  // reads into the current round of FlapReads
    uint64_t completedReads_ = 0;
};
