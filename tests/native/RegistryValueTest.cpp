#include "system/RegistryValue.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

const RegistryValue Marker = RegistryValue::OfText("caca");
RegistryValue Text(const std::string& text) { return RegistryValue::OfText(text); }
RegistryValue Number(int32_t number) { return RegistryValue::OfNumber(number); }

TEST(RegistryValueTest, DecodeGivesTextOrNumberByType) {
    const struct { uint32_t type; std::string data; RegistryValue expected; } cases[] = {
        {1, "abc\0def\0"s, Text("abc")},  // REG_SZ stops at the first NUL
        {1, "abc"s, Text("abc")},          // or takes the whole buffer
        {1, ""s, Text("")},
        {2, "%WINDIR%\\x\0"s, Text("%WINDIR%\\x\0"s)},  // kept whole, not expanded
        {7, "ACRSYS - 1\0V1.3304\0\0"s, Text("ACRSYS - 1\0V1.3304\0\0"s)},  // every NUL kept
        {4, "\x01\0\0\0"s, Number(1)},
        {3, "\x01\0\0\0"s, Number(1)},
        {4, "\x78\x56\x34\x12"s, Number(0x12345678)},  // little-endian
        {4, "\xFF\xFF\xFF\xFF"s, Number(-1)},
        {3, "\x02\x01"s, Number(0x0102)},              // short binary fills the low bytes
        {3, "\x01\0\0\0\0"s, Text("")},                // five bytes do not fit
        {0, ""s, Marker},                              // missing value
        {8, "\x01\0\0\0"s, Marker},                    // resource list
        {11, "\x01\0\0\0\0\0\0\0"s, Marker},           // QWORD
        {5, "\0\0\0\x01"s, Marker},                    // big-endian DWORD
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << ", " << c.data.size() << " bytes");
        const RegistryValue value = DecodeRegistryData(c.type, c.data);
        EXPECT_EQ(value.IsNumber, c.expected.IsNumber);
        EXPECT_EQ(value.Text, c.expected.Text);
        EXPECT_EQ(value.Number, c.expected.Number);
    }
}

TEST(RegistryValueTest, EncodeChoosesTypeAndBytes) {
    const struct { RegistryValue value; uint32_t type; std::string bytes; } cases[] = {
        {Number(0), 4, "\0\0\0\0"s},
        {Number(-2), 4, "\xFE\xFF\xFF\xFF"s},
        {Text("12"), 4, "\x0C\0\0\0"s},      // text that reads as a number is a DWORD
        {Text(" 7 "), 4, "\x07\0\0\0"s},
        {Text("&H100"), 4, "\0\x01\0\0"s},
        {Text("2.5"), 4, "\x02\0\0\0"s},     // rounded to even
        {Text(" abc "), 1, "abc\0"s},        // other text trimmed, one NUL
        {Text("  a b  "), 1, "a b\0"s},
        {Text("\tx "), 1, "\tx\0"s},         // only spaces are trimmed
        {Text(""), 1, "\0"s},
        {Text("   "), 1, "\0"s},
        {Text("system32\\DRIVERS\\acpiec.sys"), 1, "system32\\DRIVERS\\acpiec.sys\0"s},
        {Text("2147483648"), 1, "2147483648\0"s},  // beyond 32 bits: text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.IsNumber ? std::to_string(c.value.Number) : '"' + c.value.Text + '"');
        const RegistryData data = EncodeRegistryValue(c.value);
        EXPECT_EQ(data.Type, c.type);
        EXPECT_EQ(data.Bytes, c.bytes);
    }
}

TEST(RegistryValueTest, BinaryDwordIsFourBytesThatDecodeToTheSameNumber) {
    EXPECT_EQ(EncodeBinaryDword(0x01020304).Bytes, "\x04\x03\x02\x01"s);
    for (int32_t n : {0, 1, -1, 255, 256, INT32_MIN, INT32_MAX}) {
        const RegistryData data = EncodeBinaryDword(n);
        EXPECT_EQ(data.Type, 3u);
        const RegistryValue back = DecodeRegistryData(data.Type, data.Bytes);
        EXPECT_TRUE(back.IsNumber);
        EXPECT_EQ(back.Number, n);
    }
}

}  // namespace
