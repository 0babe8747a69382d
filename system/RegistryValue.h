#pragma once
// What a registry read returns and what a registry write stores, decided without
// touching the registry, so the encodings are tested natively.
#include <cstdint>
#include <string>

// A read gives either text (every NUL of a multi-string included) or a number.
struct RegistryValue {
    bool IsNumber = false;
    std::string Text;
    int32_t Number = 0;

    static RegistryValue OfText(std::string text);
    static RegistryValue OfNumber(int32_t number);
};

// Read result for a missing value or a type the program does not handle.
inline const std::string kMissingMarker = "caca";

// How a value type is read: as text (1, 2, 7), as a 32-bit number (3, 4), or not at all.
enum class RegistryKind { Text, Number, Unsupported };
RegistryKind KindOfType(uint32_t type);

// Result of a read from the value's type and the bytes the query returned.
// Text: type 1 stops at the first NUL (whole buffer when none), types 2 and 7 keep
// the whole buffer. Number: up to 4 bytes little-endian; more than 4 cannot be read
// into the 4-byte buffer, which reads as "".
RegistryValue DecodeRegistryData(uint32_t type, const std::string& data);

// A value type and its bytes, ready for the registry.
struct RegistryData {
    uint32_t Type;
    std::string Bytes;
};

// A number, or text that reads as a 32-bit number, is stored as REG_DWORD; other text
// as REG_SZ without its leading and trailing spaces, with one terminating NUL.
RegistryData EncodeRegistryValue(const RegistryValue& value);

// The 4 bytes of a 32-bit integer as REG_BINARY (the type the graphics driver's
// downscaling values use).
RegistryData EncodeBinaryDword(int32_t value);
