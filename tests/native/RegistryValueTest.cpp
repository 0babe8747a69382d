#include "system/RegistryValue.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

const RegistryValue Marker = RegistryValue::OfText("caca");
RegistryValue Text(const std::string& text) { return RegistryValue::OfText(text); }
RegistryValue Number(int32_t number) { return RegistryValue::OfNumber(number); }
auto Fields(const RegistryValue& v) { return std::tuple(v.IsNumber, v.Text, v.Number); }

// REG_SZ stops at the first NUL or takes the whole buffer; REG_EXPAND_SZ and REG_MULTI_SZ
// keep every NUL and are not expanded; DWORD and binary are little-endian.
TEST(RegistryValueTest, DecodeGivesTextOrNumberByType) {
    const struct { uint32_t type; std::string data; RegistryValue expected; } cases[] = {
        {1, "abc\0def\0"s, Text("abc")}, {1, "abc"s, Text("abc")}, {2, "%WINDIR%\\x\0"s, Text("%WINDIR%\\x\0"s)},
        {7, "ACRSYS - 1\0V1.3304\0\0"s, Text("ACRSYS - 1\0V1.3304\0\0"s)}, {4, "\xFF\xFF\xFF\xFF"s, Number(-1)},
        {3, "\x01\0\0\0"s, Number(1)}, {4, "\x78\x56\x34\x12"s, Number(0x12345678)},
        // short binary fills the low bytes; five bytes do not fit
        {3, "\x02\x01"s, Number(0x0102)}, {3, "\x01\0\0\0\0"s, Text("")},
        // a missing value, a resource list, a big-endian DWORD
        {0, ""s, Marker}, {8, "\x01\0\0\0"s, Marker}, {5, "\0\0\0\x01"s, Marker},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Fields(DecodeRegistryData(c.type, c.data)), Fields(c.expected))
            << "type " << c.type << ", " << c.data.size() << " bytes";
}

// Text that reads as a number is a DWORD (beyond 32 bits it stays text); other text is
// trimmed of spaces only and ends in one NUL.
TEST(RegistryValueTest, EncodeChoosesTypeAndBytes) {
    const struct { RegistryValue value; uint32_t type; std::string bytes; } cases[] = {
        {Number(0), 4, "\0\0\0\0"s}, {Number(-2), 4, "\xFE\xFF\xFF\xFF"s}, {Text("&H100"), 4, "\0\x01\0\0"s},
        {Text("  a b  "), 1, "a b\0"s}, {Text("\tx "), 1, "\tx\0"s}, {Text(""), 1, "\0"s}, {Text("   "), 1, "\0"s},
        {Text("2147483648"), 1, "2147483648\0"s},
    };
    for (const auto& c : cases) {
        const RegistryData data = EncodeRegistryValue(c.value);
        EXPECT_EQ(std::tie(data.Type, data.Bytes), std::tie(c.type, c.bytes)) << c.value.Text << c.value.Number;
    }
}

TEST(RegistryValueTest, BinaryDwordIsFourLittleEndianBytes) {
    const RegistryData data = EncodeBinaryDword(0x01020304);
    EXPECT_EQ(std::tie(data.Type, data.Bytes), std::tuple(3u, "\x04\x03\x02\x01"s));
}

}  // namespace
