#pragma once
// The netbook's embedded controller: port access through the WinIo port library (or the
// PawnIO driver), the EC transactions, the temperature and the fan modes, and the fan
// state.
#include <cstdint>

#include "ec/EcProtocol.h"
#include "ec/FanPlan.h"

namespace modAcerEC {

// What was last written to the fan register; Unknown makes the next tick write it again.
enum : int32_t { FanStateOff = 0, FanStateSlow = 1, FanStateAuto = 2, FanStateUnknown = 3 };
int32_t FanState();
void SetFanState(int32_t state);

// The registers and fan bytes of the machine: start-up sets them once the machine is
// known; until then, those of the Aspire One by BIOS version.
void UseFanPlan(const FanPlan::Plan& plan);
// The BIOS version and custom bytes that choose among them: start-up sets them once
// the settings are read, the configuration dialog's Save again.
void UseFanBytes(const FanPlan::ByteChoice& choice);
const FanPlan::Plan& CurrentFanPlan();

// Port access. EC transactions reach the ports only while it is open; before and
// after, reads give 0 and writes are skipped. Without the port library InitEC fails.
bool InitEC();
// Where WinIo cannot be had (64-bit Windows 10 and 11 refuse its drivers): the PawnIO
// driver with the LpcACPIEC module beside the program. False, with nothing open, when
// the module file, the device or the EC's ports are not to be had.
bool InitPawnIo();
// For a port library that needs no initialisation (the alternate driver): the ports
// are used as they are, and CloseEC owes the library no ShutdownWinIo.
void OpenECWithoutInit();
// Shuts the port library down if InitEC opened it, and unloads it.
void CloseEC();

// One-byte port access; false when the access failed (the value is then 0).
bool GetPortByte(uint16_t port, uint8_t& value);
bool SetPortByte(uint16_t port, uint8_t value);
uint8_t InPort(uint16_t port);
void OutPort(uint8_t value, uint16_t port);

bool WaitECStatus(uint16_t port, uint8_t mask, EcProtocol::WantedState wanted);
bool WaitInputBufferEmpty();
bool WaitOutputBufferFull();
// False when the write was skipped: port access closed, or another program kept the
// EC lock.
bool WriteEC(uint8_t value, uint8_t reg);
uint8_t ReadEC(uint8_t reg);

// Degrees Celsius; 0 when the EC gave no data.
uint8_t ReadTemperature();
// Each writes its mode's byte to the fan register and records the state, whether or
// not the EC took the bytes; a skipped write (port access closed, the EC lock kept)
// leaves the state unknown, so that the next tick writes again. SetFanAuto, which
// hands the fan back to the EC, waits a second more for a lock that another program
// keeps, then writes without it.
void SetFanOff();
void SetFanSlow();
void SetFanAuto();
// SetFanAuto while port access is open: no library load and no allocation, so that a
// crash handler can call it. Afterwards only the calling thread reaches the EC: the
// process is ending, and no other thread may set the fan again.
void HandFanBack();
// Writes a byte under test and stops the monitor, so that the byte stays in force.
void SetFanTestValue(uint8_t value);
// How the fan tester stops the monitor: the main window hands in its timer's stop at
// start-up, so that this module needs no window.
using MonitorStop = void (*)();
void SetMonitorStop(MonitorStop stop);

}  // namespace modAcerEC
