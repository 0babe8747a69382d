#pragma once
// The PawnIO port driver's requests, as bytes: its control codes, the execute request
// (a function of the loaded module by name, with 64-bit arguments) and the answers the
// port layer accepts. Fixed-size buffers: the crash hand-back goes through them too.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace PawnIoRequest {

inline constexpr uint32_t IoctlLoadModule = 0xA1B22084, IoctlExecute = 0xA1B22104;
// The module with the EC's two port operations, looked for beside the program.
inline constexpr const char* ModuleFile = "LpcACPIEC.bin";
// A module larger than this is not read: the real one is a few kilobytes.
inline constexpr uint32_t MaxModuleSize = 256 * 1024;

inline constexpr size_t NameSize = 32, MaxArguments = 2;
inline constexpr const char* PortRead = "ioctl_pio_read";    // in: port; out: the byte
inline constexpr const char* PortWrite = "ioctl_pio_write";  // in: port, value

struct ExecuteRequest {
    std::array<uint8_t, NameSize + 8 * MaxArguments> Bytes{};
    size_t Size = 0;  // of the bytes in use
};

// The name NUL-padded to 32 bytes, then each argument little-endian; nothing when the
// name leaves no room for its NUL or there are too many arguments.
std::optional<ExecuteRequest> MakeExecuteRequest(std::string_view function, std::span<const uint64_t> arguments);

// A port read's answer: exactly one 64-bit value that fits a byte.
std::optional<uint8_t> PortByte(std::span<const uint8_t> answer);

}  // namespace PawnIoRequest
