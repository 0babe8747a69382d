// modAcerEC against the simulated EC (WinIo.dll beside the test program).
#include "ec/modAcerEC.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/modFailSafe.h"
#include "settings/modSettings.h"

using namespace modAcerEC;

namespace {

using Lines = std::vector<std::string>;

// A fresh simulated EC for each test: the port library loaded anew and open without
// initialisation, simec.ini written with the test's [EC] keys, simec.log emptied; the
// settings put back afterwards.
class ModAcerEC : public testing::Test {
protected:
    void SetUp() override {
        savedSettings_ = modSettings::Settings;
        savedBios_ = modSettings::BiosVersion;
        modAcerEC::CloseEC();
        DeleteFileA(LogPath().c_str());
        WriteIni("");
        OpenECWithoutInit();
    }

    void TearDown() override {
        modAcerEC::CloseEC();
        DeleteFileA(IniPath().c_str());
        DeleteFileA(LogPath().c_str());
        modSettings::Settings = savedSettings_;
        modSettings::BiosVersion = savedBios_;
    }

    static std::string IniPath() { return modSettings::AppFolder() + "simec.ini"; }
    static std::string LogPath() { return modSettings::AppFolder() + "simec.log"; }

    // Replaces the control file; its write time is moved on by hand, so that the
    // simulator sees the change even within the file system's time granularity.
    static void WriteIni(const std::string& ecKeys) {
        static ULONGLONG lastStamp = 0;
        const std::string text = "[EC]\r\n" + ecKeys + "\r\n";
        const HANDLE file =
            CreateFileA(IniPath().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        ULARGE_INTEGER stamp{{now.dwLowDateTime, now.dwHighDateTime}};
        stamp.QuadPart = lastStamp = std::max<ULONGLONG>(stamp.QuadPart, lastStamp + 10'000'000);
        const FILETIME time{stamp.LowPart, stamp.HighPart};
        SetFileTime(file, nullptr, nullptr, &time);
        CloseHandle(file);
    }

    static std::vector<std::string> LogLines() {
        std::vector<std::string> lines;
        std::ifstream log(LogPath());
        for (std::string line; std::getline(log, line);)
            lines.push_back(line);
        return lines;
    }

private:
    SettingsRecord savedSettings_;
    int16_t savedBios_ = 0;
};


// A freshly loaded library counts its calls from the start again.
TEST_F(ModAcerEC, InitEcFailsWhileTheLibraryDoesAndCloseEcUnloadsIt) {
    CloseEC();
    WriteIni("InitFailures=2");
    EXPECT_FALSE(InitEC());
    EXPECT_FALSE(InitEC());
    EXPECT_TRUE(InitEC());
    CloseEC();
    EXPECT_FALSE(InitEC());
    EXPECT_EQ(LogLines(), (Lines{"INIT 0", "INIT 0", "INIT 1", "SHUTDOWN", "INIT 0"}));
}

// Before port access is open and after it is closed, nothing reaches the ports: a
// session's end may leave a dialog whose buttons are still pressed. Only a library
// that InitEC opened is shut down.
TEST_F(ModAcerEC, TransactionsReachThePortsOnlyWhilePortAccessIsOpen) {
    const struct { const char* what; const char* ec; void (*open)(); int temperature; Lines log; } cases[] = {
        {"never opened", "", [] {}, 0, {}},
        {"failed to open", "InitFailures=1", [] { InitEC(); }, 0, {"INIT 0"}},
        {"opened without initialisation", "", OpenECWithoutInit, 45, {"W 55 1F", "R 58 2D", "W 55 00"}},
        {"initialised", "", [] { InitEC(); }, 45,
         {"INIT 1", "W 55 1F", "R 58 2D", "W 55 00", "SHUTDOWN"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CloseEC();
        DeleteFileA(LogPath().c_str());
        WriteIni(std::string("Temperature=45\r\n") + c.ec);
        c.open();
        SetFanState(FanStateAuto);
        SetFanOff();
        EXPECT_EQ(ReadTemperature(), c.temperature);
        HandFanBack();
        CloseEC();
        SetFanOff();  // after the close
        EXPECT_EQ(ReadTemperature(), 0);
        EXPECT_EQ(FanState(), FanStateUnknown);
        EXPECT_EQ(LogLines(), c.log);
    }
}

TEST_F(ModAcerEC, ReadTemperatureReadsRegister58) {
    WriteIni("Temperature=45");
    EXPECT_EQ(ReadTemperature(), 45);
    WriteIni("Temperature=101");
    EXPECT_EQ(ReadTemperature(), 101);  // passed on; the monitor judges it
    EXPECT_EQ(LogLines(), (Lines{"R 58 2D", "R 58 65"}));
}

// Each operation writes its byte (chosen by BIOS version or custom, see FanBytesTest)
// to register 55 and records the fan state; a test value leaves the state unknown.
TEST_F(ModAcerEC, FanOperationsWriteTheirByteAndRecordTheState) {
    struct Row { int16_t bios; bool custom; void (*operation)(); const char* line; int32_t state; };
    const Row rows[] = {
        {0, false, SetFanOff, "W 55 1F", FanStateOff},
        {0, false, SetFanSlow, "W 55 20", FanStateSlow},
        {3305, false, SetFanOff, "W 55 AF", FanStateOff},
        {3305, false, SetFanSlow, "W 55 10", FanStateSlow},
        {3305, false, SetFanAuto, "W 55 00", FanStateAuto},
        {3305, true, SetFanOff, "W 55 42", FanStateOff},
        {3305, true, SetFanSlow, "W 55 24", FanStateSlow},
        {3305, true, SetFanAuto, "W 55 81", FanStateAuto},
        {3305, true, [] { SetFanTestValue(0x33); }, "W 55 33", FanStateUnknown},
    };
    modSettings::Settings.FanValueOff = 0x42;
    modSettings::Settings.FanValueSlow = 0x24;
    modSettings::Settings.FanValueAuto = 0x81;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.line);
        modSettings::BiosVersion = r.bios;
        modSettings::Settings.UseCustomFanValue = r.custom;
        SetFanState(r.state == FanStateAuto ? FanStateOff : FanStateAuto);  // one to change
        r.operation();
        const Lines lines = LogLines();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), r.line);
        EXPECT_EQ(FanState(), r.state);
    }
}

// The EC busy within the wait's limit is waited for. Past it (stuck, no data, or busy
// for longer after the command byte) the transaction stops there: no reading, and no
// register or value byte reaches an EC that is not ready for it; the fan state is
// recorded whether or not the EC took the byte. A recovered EC serves the next read.
TEST_F(ModAcerEC, BusyEcIsWaitedForUpToTheLimit) {
    const struct { const char* ec; int temperature; Lines log; } cases[] = {
        {"BusyReads=40", 45, {"W 55 1F", "R 58 2D"}},
        {"StuckIBF=1", 0, {}},
        {"NoOBF=1", 0, {"W 55 1F"}},
        {"BusyReads=150", 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ec);
        WriteIni(std::string("Temperature=45\r\n") + c.ec);
        DeleteFileA(LogPath().c_str());
        SetFanState(FanStateUnknown);
        SetFanOff();
        EXPECT_EQ(FanState(), FanStateOff);
        EXPECT_EQ(ReadTemperature(), c.temperature);
        EXPECT_EQ(LogLines(), c.log);
        WriteIni("Temperature=45");
        EXPECT_EQ(ReadTemperature(), 45);
    }
}

// A byte left waiting by someone else's transaction is drained before the read's
// command, not taken for the answer; an EC without one costs no data read.
TEST_F(ModAcerEC, AStaleByteBeforeTheReadIsDrainedAndTheTrueTemperatureRead) {
    WriteIni("Temperature=60\r\nStaleOBF=32");
    EXPECT_EQ(ReadTemperature(), 60);
    EXPECT_EQ(ReadTemperature(), 60);
    EXPECT_EQ(LogLines(), (Lines{"STALE 20", "R 58 3C", "R 58 3C"}));
}

void Throw() { throw std::runtime_error("nobody catches this"); }
// The exception cannot leave this frame, so nothing above it can catch it.
void ThrowPastANoexceptFrame() noexcept { Throw(); }

using ModAcerECDeathTest = ModAcerEC;

// A C++ exception that reaches the top ends the process through std::terminate; the fan
// goes back to the EC first. The child process writes the log, this one reads it.
TEST_F(ModAcerECDeathTest, AnUncaughtExceptionHandsTheFanBackBeforeTheProcessEnds) {
    EXPECT_EXIT(
        {
            modFailSafe::InstallCrashHandBack();
            InitEC();
            SetFanOff();
            ThrowPastANoexceptFrame();
        },
        [](int code) { return code != 0; }, "");
    EXPECT_EQ(LogLines(), (Lines{"INIT 1", "W 55 1F", "W 55 00"}));
}

}  // namespace
