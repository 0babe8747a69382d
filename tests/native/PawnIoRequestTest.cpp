#include "ec/PawnIoRequest.h"

#include <gtest/gtest.h>

#include <vector>

using namespace PawnIoRequest;
using Bytes = std::vector<uint8_t>;

// The name NUL-padded to 32 bytes, then each argument as 8 little-endian bytes; 31
// characters leave room for the NUL, 32 do not; two arguments at most.
TEST(PawnIoRequest, ExecuteRequestIsThePaddedNameAndTheArguments) {
    const uint64_t write[] = {0x66, 0x1122334455667781}, three[] = {1, 2, 3};
    const auto request = MakeExecuteRequest(PortWrite, write);
    ASSERT_TRUE(request.has_value());
    Bytes expected(32, 0);
    std::copy_n("ioctl_pio_write", 15, expected.begin());
    expected.insert(expected.end(), {0x66, 0, 0, 0, 0, 0, 0, 0, 0x81, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11});
    EXPECT_EQ(Bytes(request->Bytes.begin(), request->Bytes.begin() + request->Size), expected);
    EXPECT_EQ(MakeExecuteRequest(std::string(31, 'f'), {})->Size, 32u);
    EXPECT_FALSE(MakeExecuteRequest(std::string(32, 'f'), {}).has_value());
    EXPECT_FALSE(MakeExecuteRequest(PortRead, three).has_value());
}

// Exactly one 64-bit value that fits a byte.
TEST(PawnIoRequest, APortReadsAnswerIsOneValueThatFitsAByte) {
    const struct { Bytes answer; std::optional<uint8_t> byte; } cases[] = {
        {{0xFF, 0, 0, 0, 0, 0, 0, 0}, 0xFF},          {{0x00, 1, 0, 0, 0, 0, 0, 0}, std::nullopt},
        {{0x5C, 0, 0, 0, 0, 0, 0, 0x80}, std::nullopt}, {{0x5C, 0, 0, 0}, std::nullopt},
        {{0x5C, 0, 0, 0, 0, 0, 0, 0, 0}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PortByte(c.answer), c.byte) << c.answer.size() << " bytes";
}
