// modAcerEC against the simulated EC (WinIo.dll beside the test program).
#include "tests/wine/SimEcFixture.h"

using namespace modAcerEC;

namespace {

using ModAcerEC = SimEcFixture;

TEST_F(ModAcerEC, InitEcFailsWhileTheLibraryDoesThenSucceeds) {
    WriteIni("InitFailures=2");
    EXPECT_FALSE(InitEC());
    EXPECT_FALSE(InitEC());
    EXPECT_TRUE(InitEC());
    CloseEC();
    EXPECT_EQ(LogLines(), (Lines{"INIT 0", "INIT 0", "INIT 1", "SHUTDOWN"}));
}

TEST_F(ModAcerEC, CloseEcFreesTheLibrary) {
    WriteIni("InitFailures=1");
    EXPECT_FALSE(InitEC());
    CloseEC();
    // A freshly loaded library counts its calls from the start again.
    EXPECT_FALSE(InitEC());
    EXPECT_TRUE(InitEC());
}

TEST_F(ModAcerEC, ReadTemperatureReadsRegister58) {
    WriteIni("Temperature=45");
    EXPECT_EQ(ReadTemperature(), 45);
    WriteIni("Temperature=101");
    EXPECT_EQ(ReadTemperature(), 101);  // passed on; the monitor judges it
    EXPECT_EQ(LogLines(), (Lines{"R 58 2D", "R 58 65"}));
}

TEST_F(ModAcerEC, FanModesWriteTheVersionsByte) {
    struct Row { int16_t bios; void (*operation)(); const char* line; int32_t state; };
    const Row rows[] = {
        {0, SetFanOff, "W 55 1F", FanStateOff},
        {0, SetFanSlow, "W 55 20", FanStateSlow},
        {0, SetFanAuto, "W 55 00", FanStateAuto},
        {3304, SetFanOff, "W 55 20", FanStateOff},
        {3304, SetFanSlow, "W 55 10", FanStateSlow},
        {3305, SetFanOff, "W 55 AF", FanStateOff},
    };
    modSettings::Settings.UseCustomFanValue = false;
    modSettings::Settings.FanValueOff = 0x42;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.line);
        modSettings::BiosVersion = r.bios;
        SetFanState(FanStateUnknown);
        r.operation();
        const Lines lines = LogLines();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), r.line);
        EXPECT_EQ(FanState(), r.state);
    }
}

TEST_F(ModAcerEC, CustomFanBytesWin) {
    modSettings::BiosVersion = 3305;
    modSettings::Settings.UseCustomFanValue = true;
    modSettings::Settings.FanValueOff = 0x42;
    modSettings::Settings.FanValueSlow = 0x24;
    modSettings::Settings.FanValueAuto = 0x81;
    SetFanOff();
    SetFanSlow();
    SetFanAuto();
    EXPECT_EQ(LogLines(), (Lines{"W 55 42", "W 55 24", "W 55 81"}));
}

TEST_F(ModAcerEC, TestValueLeavesTheFanStateUnknown) {
    SetFanAuto();
    SetFanTestValue(0x00);
    EXPECT_EQ(FanState(), FanStateUnknown);
    EXPECT_EQ(LogLines(), (Lines{"W 55 00", "W 55 00"}));
}

TEST_F(ModAcerEC, StuckEcGivesNoReadingAndTakesNoByte) {
    WriteIni("Temperature=45\r\nStuckIBF=1");
    EXPECT_EQ(ReadTemperature(), 0);
    SetFanSlow();
    EXPECT_EQ(FanState(), FanStateSlow);  // recorded whether or not the EC took it
    EXPECT_TRUE(LogLines().empty());
}

TEST_F(ModAcerEC, MissingDataGivesZeroAndTheEcRecovers) {
    WriteIni("Temperature=45\r\nNoOBF=1");
    EXPECT_EQ(ReadTemperature(), 0);
    WriteIni("Temperature=45");
    EXPECT_EQ(ReadTemperature(), 45);
    EXPECT_EQ(LogLines(), (Lines{"R 58 2D"}));
}

TEST_F(ModAcerEC, BusyEcIsWaitedFor) {
    WriteIni("Temperature=45\r\nBusyReads=40");
    EXPECT_EQ(ReadTemperature(), 45);
    SetFanOff();
    EXPECT_EQ(LogLines(), (Lines{"R 58 2D", "W 55 1F"}));
}

// Busy past the wait's limit after the command byte: the transaction stops there,
// and no register or value byte reaches an EC that is not ready for it.
TEST_F(ModAcerEC, TimedOutTransactionSendsNoFurtherByte) {
    WriteIni("Temperature=45\r\nBusyReads=150");
    SetFanOff();
    EXPECT_EQ(ReadTemperature(), 0);
    EXPECT_TRUE(LogLines().empty());
}

}  // namespace
