#include "ec/Smbios.h"

#include <string_view>

namespace Smbios {

namespace {

constexpr uint8_t BiosInformation = 0, SystemInformation = 1, EndOfTable = 127;
constexpr size_t HeaderSize = 4;  // type, length of the formatted area, 16-bit handle
constexpr size_t RawHeaderSize = 8;

// One structure: its formatted area (header included) and its string set, the strings
// separated by single NULs, without the set's final NULs. Empty when not found.
struct Structure {
    std::span<const uint8_t> Formatted, Strings;
};

// Splits the first structure off the table; false when it is cut short or malformed,
// which ends the walk since the next one cannot be found.
bool TakeStructure(std::span<const uint8_t>& table, Structure& structure) {
    if (table.size() < HeaderSize)
        return false;
    const size_t length = table[1];
    if (length < HeaderSize || length > table.size())
        return false;
    // Strings are never empty, so the first two NULs in a row end the set (or are the
    // whole of a set without strings).
    for (size_t end = length; end + 1 < table.size(); ++end) {
        if (table[end] == 0 && table[end + 1] == 0) {
            structure = {table.first(length), table.subspan(length, end - length)};
            table = table.subspan(end + 2);
            return true;
        }
    }
    return false;
}

// The string that the byte at offset in the formatted area points to (1 for the first
// string, 0 for none), without trailing blanks.
std::string StringField(const Structure& structure, size_t offset) {
    if (offset >= structure.Formatted.size())
        return {};
    const int index = structure.Formatted[offset];
    if (index == 0)
        return {};
    const std::string_view strings(reinterpret_cast<const char*>(structure.Strings.data()), structure.Strings.size());
    size_t start = 0;
    for (int number = 1; number < index; ++number) {
        const size_t end = strings.find('\0', start);
        if (end == std::string_view::npos)
            return {};
        start = end + 1;
    }
    return std::string(EcModels::WithoutTrailingBlanks(strings.substr(start, strings.find('\0', start) - start)));
}

}  // namespace

EcModels::MachineIdentity ReadIdentity(std::span<const uint8_t> table) {
    Structure bios, system, structure;
    while ((bios.Formatted.empty() || system.Formatted.empty()) && TakeStructure(table, structure)) {
        const uint8_t type = structure.Formatted[0];
        if (type == EndOfTable)
            break;
        if (type == BiosInformation && bios.Formatted.empty())
            bios = structure;
        else if (type == SystemInformation && system.Formatted.empty())
            system = structure;
    }
    return {.Manufacturer = StringField(system, 0x04), .Product = StringField(system, 0x05),
            .BiosVersion = StringField(bios, 0x05)};
}

EcModels::MachineIdentity ReadIdentityFromRawSmbios(std::span<const uint8_t> data) {
    if (data.size() < RawHeaderSize)
        return {};
    uint32_t length = 0;
    for (size_t i = 7; i >= 4; --i)
        length = length << 8 | data[i];
    if (length > data.size() - RawHeaderSize)
        return {};
    return ReadIdentity(data.subspan(RawHeaderSize, length));
}

}  // namespace Smbios
