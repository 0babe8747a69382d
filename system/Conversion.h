#pragma once
// Text <-> number conversion for the INI file, the registry texts and the dialogs.
// No OS calls, so every rule is tested natively.
//
// Accepted number text: blanks (spaces, tabs) around it, then either
//   - decimal: optional sign, digits, optional '.' and more digits (at least one digit
//     in all: "5.", ".5" are numbers); a fraction rounds to the nearest integer, a
//     half to the even neighbour, computed exactly from the digits;
//   - "&H" or "&h" and 1 or more hexadecimal digits: up to 4 significant digits are a
//     16-bit two's-complement value (&HFFFF = -1), 5 to 8 a 32-bit one
//     (&HFFFFFFFF = -1), more fail.
// Exponents ("1e3"), thousands separators, a blank inside the number or after the
// sign, and a sign before "&H" are not accepted. The value must fit the target type.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace Conversion {

std::optional<int16_t> ToInt16(std::string_view text);
std::optional<int32_t> ToInt32(std::string_view text);
std::optional<uint8_t> ToByte(std::string_view text);

// "True" / "False" in any letter case (blanks around allowed), or any number text:
// exactly zero is false, anything else (0.4, 99999999999, &HFFFF) is true.
std::optional<bool> ToBoolean(std::string_view text);

// The number at the start of a text such as "5.1" or "6.1.7600": leading blanks
// skipped, digits with at most one '.', stops at the first other character (a sign
// included); no digits give 0.
double LeadingNumber(std::string_view text);

std::string HexText(uint32_t value);     // "&H" + upper-case hex without leading zeros
std::string BooleanText(bool value);     // "True" / "False"
std::string DecimalText(int32_t value);  // "-12", "3000"

}  // namespace Conversion
