#include "system/Conversion.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

namespace Conversion {
namespace {

// Far beyond every target type; magnitudes saturate here so long digit runs cannot
// overflow and still fail the range check.
constexpr int64_t TooLarge = int64_t{1} << 40;

// A number text read exactly: its value rounded to an integer, and whether the text
// was exactly zero (a boolean needs that, 0.4 being true).
struct Number {
    int64_t Rounded;
    bool IsZero;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

int HexDigitValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The BASIC literal rule: the count of significant digits, not the value, picks the
// width, so &HFFFF is -1 while &H0FFFF is still -1 and &H10000 is 65536. A 32-bit
// target reads every literal as 32 bits instead: a colour such as &HFF00 (green),
// which the settings file holds in this form, must read back as itself, not -256.
enum class HexWidth { ByDigits, Always32 };

std::optional<Number> ParseHexDigits(std::string_view digits, HexWidth width) {
    if (digits.empty()) return std::nullopt;
    uint32_t value = 0;
    int significant = 0;
    for (char c : digits) {
        const int digit = HexDigitValue(c);
        if (digit < 0) return std::nullopt;
        if (significant == 0 && digit == 0) continue;
        if (++significant > 8) return std::nullopt;
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    const int64_t signedValue = significant <= 4 && width == HexWidth::ByDigits
        ? int64_t{static_cast<int16_t>(static_cast<uint16_t>(value))}
        : int64_t{static_cast<int32_t>(value)};
    return Number{signedValue, value == 0};
}

// Rounds from the digits themselves: only the first fraction digit and whether any
// later one is non-zero matter, so no binary fraction can misplace a half.
std::optional<Number> ParseDecimal(std::string_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t whole = 0;
    bool anyDigit = false;
    bool nonZero = false;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        const int digit = text[i] - '0';
        whole = std::min(whole * 10 + digit, TooLarge);
        anyDigit = true;
        nonZero = nonZero || digit != 0;
    }
    std::string_view fraction;
    if (i < text.size() && text[i] == '.') {
        const size_t start = ++i;
        while (i < text.size() && IsDigit(text[i])) ++i;
        fraction = text.substr(start, i - start);
        anyDigit = anyDigit || !fraction.empty();
    }
    if (!anyDigit || i != text.size()) return std::nullopt;

    if (!fraction.empty()) {
        const bool restNonZero = fraction.find_first_not_of('0', 1) != std::string_view::npos;
        const char first = fraction.front();
        nonZero = nonZero || first != '0' || restNonZero;
        const bool roundUp = first > '5' || (first == '5' && (restNonZero || whole % 2 == 1));
        if (roundUp) whole = std::min(whole + 1, TooLarge);
    }
    return Number{negative ? -whole : whole, !nonZero};
}

std::optional<Number> ParseNumber(std::string_view text, HexWidth width = HexWidth::ByDigits) {
    text = TrimBlanks(text);
    if (text.size() >= 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h')) {
        return ParseHexDigits(text.substr(2), width);
    }
    return ParseDecimal(text);
}

template <typename T>
std::optional<T> ParseInto(std::string_view text) {
    const auto number =
        ParseNumber(text, sizeof(T) >= 4 ? HexWidth::Always32 : HexWidth::ByDigits);
    if (!number || number->Rounded < std::numeric_limits<T>::min() ||
        number->Rounded > std::numeric_limits<T>::max()) {
        return std::nullopt;
    }
    return static_cast<T>(number->Rounded);
}

bool EqualsIgnoringCase(std::string_view text, std::string_view word) {
    return std::equal(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

}  // namespace

std::optional<int16_t> ToInt16(std::string_view text) { return ParseInto<int16_t>(text); }
std::optional<int32_t> ToInt32(std::string_view text) { return ParseInto<int32_t>(text); }
std::optional<uint8_t> ToByte(std::string_view text) { return ParseInto<uint8_t>(text); }

std::optional<bool> ToBoolean(std::string_view text) {
    const std::string_view word = TrimBlanks(text);
    if (EqualsIgnoringCase(word, "true")) return true;
    if (EqualsIgnoringCase(word, "false")) return false;
    const auto number = ParseNumber(word);
    if (!number) return std::nullopt;
    return !number->IsZero;
}

double LeadingNumber(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) ++start;
    size_t end = start;
    bool seenPoint = false;
    bool anyDigit = false;
    for (; end < text.size(); ++end) {
        if (IsDigit(text[end])) {
            anyDigit = true;
        } else if (text[end] == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!anyDigit) return 0.0;
    // "6." and ".5" are complete here; from_chars wants digits on both sides.
    std::string number = "0";
    number.append(text.substr(start, end - start));
    if (!seenPoint) number += '.';
    number += '0';
    double value = 0.0;
    std::from_chars(number.data(), number.data() + number.size(), value,
                    std::chars_format::fixed);
    return value;
}

std::string HexText(uint32_t value) {
    char digits[8];
    const auto result = std::to_chars(digits, digits + sizeof digits, value, 16);
    std::string text = "&H";
    for (const char* p = digits; p != result.ptr; ++p) {
        text += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    }
    return text;
}

std::string BooleanText(bool value) { return value ? "True" : "False"; }

std::string DecimalText(int32_t value) { return std::to_string(value); }

}  // namespace Conversion
