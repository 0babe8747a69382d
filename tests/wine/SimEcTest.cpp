// The simulated EC's side of the handshake, driven port by port. End-to-end tests rely
// on it behaving as an EC does and on its log naming every byte it refused.
#include "tests/wine/SimEcFixture.h"

using namespace modAcerEC;

namespace {

using SimEc = SimEcFixture;

std::vector<int> StatusReads(int count) {
    std::vector<int> status;
    for (int i = 0; i < count; ++i)
        status.push_back(InPort(0x66));
    return status;
}

TEST_F(SimEc, ReadHandshakeWithBusyEc) {
    WriteIni("Temperature=45\r\nBusyReads=2");
    EXPECT_EQ(StatusReads(1), (std::vector<int>{0x00}));
    OutPort(0x80, 0x66);
    EXPECT_EQ(StatusReads(3), (std::vector<int>{0x02, 0x02, 0x00}));
    OutPort(0x58, 0x62);
    // IBF while the register is taken, then two more reads before the data shows.
    EXPECT_EQ(StatusReads(6), (std::vector<int>{0x02, 0x02, 0x00, 0x00, 0x01, 0x01}));
    uint8_t value = 0;
    EXPECT_TRUE(GetPortByte(0x62, value));
    EXPECT_EQ(value, 45);
    EXPECT_EQ(StatusReads(1), (std::vector<int>{0x00}));
    EXPECT_EQ(LogLines(), (Lines{"R 58 2D"}));
}

TEST_F(SimEc, WriteHandshakeStoresTheRegister) {
    EXPECT_TRUE(SetPortByte(0x66, 0x81));
    EXPECT_TRUE(SetPortByte(0x62, 0x10));
    EXPECT_TRUE(SetPortByte(0x62, 0x33));
    EXPECT_EQ(ReadEC(0x10), 0x33);
    EXPECT_EQ(LogLines(), (Lines{"W 10 33", "R 10 33"}));
}

TEST_F(SimEc, BytesOutOfTurnAreRefusedAndLogged) {
    OutPort(0x55, 0x62);  // data with no command before it
    OutPort(0x84, 0x66);  // a command this EC does not know
    WriteIni("StuckIBF=1");
    EXPECT_EQ(InPort(0x66), 0x02);
    OutPort(0x81, 0x66);  // a command while the input buffer is full
    EXPECT_EQ(LogLines(), (Lines{"BAD 62 55", "BAD 66 84", "BAD 66 81"}));
}

TEST_F(SimEc, TransactionLogCanBeSwitchedOff) {
    WriteIni("Temperature=45\r\nLogTransactions=0");
    EXPECT_TRUE(InitEC());
    EXPECT_EQ(ReadTemperature(), 45);
    WriteEC(0x1F, 0x55);
    EXPECT_EQ(LogLines(), (Lines{"INIT 1"}));
}

TEST_F(SimEc, ThermalModelStartsAtFiftyDegrees) {
    EXPECT_EQ(ReadTemperature(), 50);
}

}  // namespace
