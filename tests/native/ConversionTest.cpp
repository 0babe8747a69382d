#include "system/Conversion.h"

#include <gtest/gtest.h>

using namespace Conversion;

namespace {

constexpr std::nullopt_t Fails = std::nullopt;

template <typename T>
void ExpectAll(std::optional<T> (*convert)(std::string_view),
               std::initializer_list<std::pair<const char*, std::optional<T>>> cases) {
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(convert(text), expected) << '"' << text << '"';
}

TEST(ConversionTest, DecimalFormsAndBlanks) {
    ExpectAll(ToInt16, {{"+5", 5}, {"-12", -12}, {" 12 ", 12}, {"\t42\t", 42}, {"5.", 5}, {".5", 0}, {"-0", 0},
                        {"000000000000000000000001", 1},
                        // no number
                        {"", Fails}, {"+", Fails}, {".", Fails}, {"-.", Fails}, {"1 2", Fails}, {"12a", Fails},
                        {"a12", Fails}, {"1.2.3", Fails}, {"12\n", Fails}});
}

TEST(ConversionTest, FractionsRoundHalfToEvenBeforeTheRangeCheck) {
    ExpectAll(ToInt16, {{"2.5", 2}, {"3.5", 4}, {"-3.5", -4}, {"2.4", 2}, {"2.6", 3}, {"2.50000", 2}, {"2.500001", 3},
                        {"2.4999999999999999999", 2}, {"32767.49", 32767}, {"32767.5", Fails}, {"-32768.5", -32768},
                        {"-32768.51", Fails}});
    ExpectAll(ToByte, {{"255.5", Fails}, {"-0.5", 0}, {"-0.51", Fails}});
}

TEST(ConversionTest, DecimalRangeOfEachType) {
    ExpectAll(ToInt16, {{"32767", 32767}, {"32768", Fails}, {"-32768", -32768}, {"-32769", Fails},
                        {"99999999999999999999", Fails}});
    ExpectAll(ToInt32, {{"2147483647", 2147483647}, {"2147483648", Fails}, {"-2147483648", INT32_MIN},
                        {"-2147483649", Fails}});
    ExpectAll(ToByte, {{"255", 255}, {"256", Fails}, {"-1", Fails}});
}

// Up to four digits are a 16-bit pattern, five to eight a 32-bit one; a 32-bit target
// reads four digits as a 32-bit pattern, so a colour saved as &HFF00 reads back as 65280.
TEST(ConversionTest, HexWidthAndTarget) {
    ExpectAll(ToInt32, {{"&H0", 0}, {"&HFF", 255}, {"&hff", 255}, {"&H8000", 32768}, {"&HFF00", 65280},
                        {"&HFFFF", 65535}, {"&H40FF60", 4259680}, {"&H7FFFFFFF", 2147483647}, {"&H80000000", INT32_MIN},
                        {"&HFFFFFFFF", -1}, {"&H000000000FF", 255}, {"&H100000000", Fails}, {" &H10 ", 16},
                        // malformed
                        {"&H", Fails}, {"&HG1", Fails}, {"&H1G", Fails}, {"& H1", Fails}, {"-&H1", Fails},
                        {"&O17", Fails}, {"&", Fails}});
    ExpectAll(ToByte, {{"&HFF", 255}, {"&H100", Fails}, {"&HFFFF", Fails}});
    ExpectAll(ToInt16, {{"&HFFFF", -1}, {"&H8000", -32768}, {"&H10000", Fails}, {"&HFFFFFFFF", -1},
                        {"&HFFFF8000", -32768}, {"&HFFFF7FFF", Fails}});
}

TEST(ConversionTest, BooleanWordsAndNumbers) {
    ExpectAll(ToBoolean, {{"TRUE", true}, {"False", false}, {" True ", true}, {"-1", true}, {"0", false},
                          {"0.0", false}, {"0.4", true}, {"-0.0001", true}, {"99999999999", true}, {"&H0", false},
                          {"&HFFFF", true}, {"", Fails}, {"yes", Fails}, {"Truee", Fails}, {"T", Fails}});
}

}  // namespace
