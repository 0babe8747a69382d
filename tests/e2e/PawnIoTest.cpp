// How the real program reaches the EC's ports when WinIo cannot be had: the PawnIO
// driver (its stand-in, tools/pawnio, in front of the same simulated EC). Seen in the
// simulated EC's log.
#include <gtest/gtest.h>

#include "Harness.h"

namespace e2e {
namespace {

constexpr char kFatal[] = "Error, can't initialize IO access.";

// vantu forcing the fan off at 60 degrees; BIOS 3305 writes AF for off, 00 for auto.
const char kForcedOff[] = "[Advanced]\r\nTimerInterval=100\r\n[Fan]\r\nControl=0\r\n";

// No WinIo beside the program: the PawnIO stand-in behind the driver's device, the
// simulated EC behind it, and the module file beside the program.
class PawnIo : public testing::Test {
protected:
    PawnIo() {
        DeleteFileA(folder_.Path("WinIo.dll").c_str());
        folder_.AddFile(SIMEC_DLL, "simec.dll");
        folder_.AddFile(PAWNIO_MODULE, "LpcACPIEC.bin");
        folder_.WriteIni(kForcedOff);
        folder_.SetEc("Temperature", "60");
        // PawnIO needs no initialisation: the stand-in never initialises the EC's library.
        folder_.SetEc("PortsWithoutInit", "1");
    }

    SeededBiosVersion bios_{"V1.3305"};
    TestFolder folder_;
    SeededRegistryValue library_{"SYSTEM\\CurrentControlSet\\Services\\PawnIO\\Parameters", "Library", REG_SZ,
                                 SeededRegistryValue::Text(folder_.Path("simec.dll"))};
};

// After WinIo's tries, the device with the module loaded: ticks read and the fan mode
// writes; the exit hands the fan back and then closes the device. (The lock other
// programs share is taken above the transport: SafetyTest.)
TEST_F(PawnIo, WhenWinIoCannotBeHadThePortsGoThroughPawnIo) {
    const Vantu vantu(folder_);
    ASSERT_TRUE(folder_.WaitForEcLog("W 55 AF", 1));
    const Lines start = folder_.EcLog();
    EXPECT_EQ(Lines(start.begin(), start.begin() + 3), (Lines{"PAWNIO OPEN", "PAWNIO LOAD", "R 58 3C"}));
    ASSERT_TRUE(vantu.Closed());
    ASSERT_TRUE(folder_.WaitForEcLog("PAWNIO CLOSE", 1));
    const Lines log = folder_.EcLog();
    EXPECT_EQ(Lines(log.end() - 2, log.end()), (Lines{"W 55 00", "PAWNIO CLOSE"}));
}

// A module file the device refuses, no device, or a device that refuses the EC's
// ports: the fatal message, and nothing reaches the EC.
TEST_F(PawnIo, WithoutAUsablePawnIoTheProgramEnds) {
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"a module the device refuses", [&] { WriteFileText(folder_.Path("LpcACPIEC.bin"), "another module"); }},
        {"no device", [&] { DeleteFileA(folder_.Path("simec.dll").c_str()); }},
        {"the ports refused", [&] { folder_.SetEc("PortsWithoutInit", "0"); }},
    };
    for (const auto& [name, spoil] : cases) {
        SCOPED_TRACE(name);
        spoil();
        const Vantu vantu(folder_);
        const auto message = WaitForMessageBox(vantu.ProcessId(), "vantu");
        ASSERT_TRUE(message.has_value());
        EXPECT_EQ(message->text, kFatal);
        message->Press(IDOK);
        ASSERT_TRUE(vantu.WaitForExit().has_value());
        EXPECT_EQ(folder_.EcLog("W ").size() + folder_.EcLog("R ").size(), 0u);
    }
}

}  // namespace
}  // namespace e2e
