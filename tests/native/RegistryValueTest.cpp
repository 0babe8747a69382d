#include <gtest/gtest.h>

#include "system/RegistryValue.h"

using namespace std::string_literals;

namespace {

struct DecodeCase {
    const char* name;
    uint32_t type;
    std::string data;
    RegistryValue expected;
};

const DecodeCase kDecodeCases[] = {
    {"SzStopsAtFirstNul", 1, "abc\0def\0"s, RegistryValue::OfText("abc")},
    {"SzWithoutNulIsWholeBuffer", 1, "abc"s, RegistryValue::OfText("abc")},
    {"EmptySz", 1, ""s, RegistryValue::OfText("")},
    {"ExpandSzKeepsNulAndIsNotExpanded", 2, "%WINDIR%\\x\0"s,
     RegistryValue::OfText("%WINDIR%\\x\0"s)},
    {"MultiSzKeepsEveryNul", 7, "ACRSYS - 1\0V1.3304\0\0"s,
     RegistryValue::OfText("ACRSYS - 1\0V1.3304\0\0"s)},
    {"DwordOne", 4, "\x01\0\0\0"s, RegistryValue::OfNumber(1)},
    {"BinaryOne", 3, "\x01\0\0\0"s, RegistryValue::OfNumber(1)},
    {"DwordIsLittleEndian", 4, "\x78\x56\x34\x12"s, RegistryValue::OfNumber(0x12345678)},
    {"DwordAllBitsIsMinusOne", 4, "\xFF\xFF\xFF\xFF"s, RegistryValue::OfNumber(-1)},
    {"ShortBinaryFillsLowBytes", 3, "\x02\x01"s, RegistryValue::OfNumber(0x0102)},
    {"BinaryOfFiveBytesIsEmptyText", 3, "\x01\0\0\0\0"s, RegistryValue::OfText("")},
    {"MissingValueIsMarker", 0, ""s, RegistryValue::OfText("caca")},
    {"ResourceListIsMarker", 8, "\x01\0\0\0"s, RegistryValue::OfText("caca")},
    {"QwordIsMarker", 11, "\x01\0\0\0\0\0\0\0"s, RegistryValue::OfText("caca")},
    {"BigEndianDwordIsMarker", 5, "\0\0\0\x01"s, RegistryValue::OfText("caca")},
};

class DecodeRegistryDataTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeRegistryDataTest, GivesTextOrNumber) {
    const DecodeCase& c = GetParam();
    const RegistryValue value = DecodeRegistryData(c.type, c.data);
    EXPECT_EQ(value.IsNumber, c.expected.IsNumber);
    EXPECT_EQ(value.Text, c.expected.Text);
    EXPECT_EQ(value.Number, c.expected.Number);
}

INSTANTIATE_TEST_SUITE_P(Cases, DecodeRegistryDataTest, testing::ValuesIn(kDecodeCases),
                         [](const testing::TestParamInfo<DecodeCase>& info) {
                             return std::string(info.param.name);
                         });

struct EncodeCase {
    const char* name;
    RegistryValue value;
    uint32_t type;
    std::string bytes;
};

const EncodeCase kEncodeCases[] = {
    {"NumberZeroIsDword", RegistryValue::OfNumber(0), 4, "\0\0\0\0"s},
    {"NegativeNumberIsDword", RegistryValue::OfNumber(-2), 4, "\xFE\xFF\xFF\xFF"s},
    {"NumericTextIsDword", RegistryValue::OfText("12"), 4, "\x0C\0\0\0"s},
    {"NumericTextWithBlanksIsDword", RegistryValue::OfText(" 7 "), 4, "\x07\0\0\0"s},
    {"HexTextIsDword", RegistryValue::OfText("&H100"), 4, "\0\x01\0\0"s},
    {"FractionRoundsToEven", RegistryValue::OfText("2.5"), 4, "\x02\0\0\0"s},
    {"TextIsTrimmedSzWithOneNul", RegistryValue::OfText(" abc "), 1, "abc\0"s},
    {"InnerSpacesStay", RegistryValue::OfText("  a b  "), 1, "a b\0"s},
    {"TabsAreNotTrimmed", RegistryValue::OfText("\tx "), 1, "\tx\0"s},
    {"EmptyTextIsJustNul", RegistryValue::OfText(""), 1, "\0"s},
    {"SpacesOnlyIsJustNul", RegistryValue::OfText("   "), 1, "\0"s},
    {"PathIsText", RegistryValue::OfText("system32\\DRIVERS\\acpiec.sys"), 1,
     "system32\\DRIVERS\\acpiec.sys\0"s},
    {"NumberBeyond32BitsIsText", RegistryValue::OfText("2147483648"), 1, "2147483648\0"s},
};

class EncodeRegistryValueTest : public testing::TestWithParam<EncodeCase> {};

TEST_P(EncodeRegistryValueTest, ChoosesTypeAndBytes) {
    const EncodeCase& c = GetParam();
    const RegistryData data = EncodeRegistryValue(c.value);
    EXPECT_EQ(data.Type, c.type);
    EXPECT_EQ(data.Bytes, c.bytes);
}

INSTANTIATE_TEST_SUITE_P(Cases, EncodeRegistryValueTest, testing::ValuesIn(kEncodeCases),
                         [](const testing::TestParamInfo<EncodeCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(EncodeBinaryDwordTest, IsFourBinaryBytesThatDecodeToTheSameNumber) {
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
