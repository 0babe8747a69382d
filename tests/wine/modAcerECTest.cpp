// modAcerEC against the simulated EC (WinIo.dll beside the test program): port
// access opened and closed through the library, and the hand-back of a crash. The EC
// protocol and the fan bytes are the native tests'.
#include "ec/modAcerEC.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "app/modFailSafe.h"
#include "SimulatedEc.h"

using namespace modAcerEC;

namespace {

class ModAcerEC : public testing::Test {
protected:
    void SetUp() override { CloseEC(); }
    void TearDown() override { CloseEC(); }
    const SimulatedEc ec_;
};

// Before port access is open and after it is closed, nothing reaches the ports: a
// session's end may leave a dialog whose buttons are still pressed. Only a library
// that InitEC opened is shut down.
TEST_F(ModAcerEC, TransactionsReachThePortsOnlyWhilePortAccessIsOpen) {
    const struct { const char* what; const char* ec; void (*open)(); int temperature; SimulatedEc::Lines log; } cases[] = {
        {"never opened", "", [] {}, 0, {}},
        {"failed to open", "InitFailures=1", [] { InitEC(); }, 0, {"INIT 0"}},
        {"opened without initialisation", "", OpenECWithoutInit, 45, {"W 55 1F", "R 58 2D", "W 55 00"}},
        {"initialised", "", [] { InitEC(); }, 45, {"INIT 1", "W 55 1F", "R 58 2D", "W 55 00", "SHUTDOWN"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ec_.Control(std::string("Temperature=45\r\n") + c.ec);
        c.open();
        SetFanState(FanStateAuto);
        SetFanOff();
        EXPECT_EQ(ReadTemperature(), c.temperature);
        HandFanBack();
        CloseEC();
        SetFanOff();  // after the close
        EXPECT_EQ(ReadTemperature(), 0);
        EXPECT_EQ(FanState(), FanStateUnknown);
        EXPECT_EQ(ec_.Log(), c.log);
    }
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
    EXPECT_EQ(ec_.Log(), (SimulatedEc::Lines{"INIT 1", "W 55 1F", "W 55 00"}));
}

}  // namespace
