#include "ec/PawnIoRequest.h"

namespace PawnIoRequest {

std::optional<ExecuteRequest> MakeExecuteRequest(std::string_view function, std::span<const uint64_t> arguments) {
    if (function.size() >= NameSize || arguments.size() > MaxArguments)
        return std::nullopt;
    ExecuteRequest request;
    for (size_t i = 0; i < function.size(); ++i)
        request.Bytes[i] = static_cast<uint8_t>(function[i]);
    size_t at = NameSize;
    for (const uint64_t argument : arguments)
        for (int shift = 0; shift < 64; shift += 8)
            request.Bytes[at++] = static_cast<uint8_t>(argument >> shift);
    request.Size = at;
    return request;
}

std::optional<uint8_t> PortByte(std::span<const uint8_t> answer) {
    if (answer.size() != 8)
        return std::nullopt;
    uint64_t value = 0;
    for (size_t i = 8; i-- > 0;)
        value = value << 8 | answer[i];
    if (value > 0xFF)
        return std::nullopt;
    return static_cast<uint8_t>(value);
}

}  // namespace PawnIoRequest
