#pragma once
// Port access through the signed PawnIO driver and its LpcACPIEC module, for 64-bit
// Windows 10 and 11, where WinIo's drivers are refused: the EC's two ports only.
#include <cstdint>
#include <string>

namespace modPawnIo {

// Opens the driver's device and loads the module file into it; false, with nothing
// left open, when the device is missing or refuses the module, or the file cannot be
// read (or is larger than any module).
bool OpenPawnIo(const std::string& moduleFile);
void ClosePawnIo();
bool PawnIoOpen();

// One byte from or to port 0x62 or 0x66; false when the device refused it. No
// allocation: the crash hand-back goes through these.
bool ReadPort(uint16_t port, uint8_t& value);
bool WritePort(uint16_t port, uint8_t value);

}  // namespace modPawnIo
