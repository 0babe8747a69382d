// Start-up and shutdown of the real program, seen from outside: the commands it starts,
// its settings file, its message boxes and the simulated EC's log.
#include <gtest/gtest.h>

#include <sddl.h>

#include "Harness.h"

namespace e2e {
namespace {

// Start-up looks for the webcam, reads LAN, webcam, WiFi and the custom device, makes
// the power scheme, opens port access (here on its 11th try), and the first tick puts
// the disk level in force; the exit hands the fan to the EC, then closes port access.
// (Commands from the current folder or PATH: UnsafeFolderTest.)
TEST(Startup, RunsItsStepsInOrderAndEndsWithTheFanAtTheEc) {
    TestFolder folder;
    for (const char* command : {"devcon", "hdparm"})
        folder.AddFakeCommand(command);
    folder.WriteIni("[Advanced]\r\nTimerInterval=100\r\nPreventHDClicks=True\r\n");
    folder.SetEc("InitFailures", "10");
    Vantu vantu(folder);
    ASSERT_TRUE(WaitUntil([&] { return folder.Commands().size() == 10; }));
    ASSERT_TRUE(vantu.Closed());
    EXPECT_EQ(folder.Commands(), (Lines{"devcon find \"USB\\VID_0C45*\"", "devcon status \"PCI\\VEN_10EC&DEV_8136*\"",
                                        "devcon status \"USB\\VID_0C45*\"", "devcon status \"PCI\\VEN_168C&DEV_001C*\"",
                                        "devcon status \"USB\\VID_1BCF**\"", "powercfg /c vantu", "powercfg /s vantu",
                                        "powercfg /x vantu /processor-throttle-ac adaptive",
                                        "powercfg /x vantu /processor-throttle-dc constant", "hdparm -B 254 hda"}));
    const Lines log = folder.EcLog();
    ASSERT_GE(log.size(), 14u);
    EXPECT_EQ(Lines(log.begin(), log.begin() + 10), Lines(10, "INIT 0"));
    EXPECT_EQ(log[10], "INIT 1");
    EXPECT_EQ(Lines(log.end() - 2, log.end()), (Lines{"W 55 00", "SHUTDOWN"}));
}

// A copy that ends at start-up runs none of the shutdown steps, whatever reaches its
// window while its message shows: its settings file stays as it was, and its port
// library is neither used nor closed. A running copy is not disturbed.
TEST(Startup, ACopyEndingAtStartupLeavesItsSettingsAndTheEcAlone) {
    const char kOwnIni[] = "; my netbook\r\n[Fan]\r\nControl=1\r\nStop=  40 \r\n";
    TestFolder runningFolder("-running");
    runningFolder.WriteIni("[Advanced]\r\nTimerInterval=200\r\n");
    Vantu running(runningFolder);
    ASSERT_TRUE(runningFolder.WaitForEcLog("R 58", 1));
    const struct { const char* suffix; const char* message; Lines ecLog; } cases[] = {
        {"-second", "vantu is already running!", {}},
        {"-alone", "Error, can't initialize IO access.", Lines(11, "INIT 0")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.suffix);
        TestFolder folder(c.suffix);
        folder.WriteIni(kOwnIni);
        folder.SetEc("InitFailures", "11");
        if (c.ecLog.size()) {  // the running copy steps aside
            ASSERT_TRUE(running.Closed());
        }
        Vantu copy(folder);
        const auto box = WaitForMessageBox(copy.ProcessId(), "vantu");
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->text, c.message);
        PostMessageA(copy.MainWindow(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
        PostMessageA(copy.MainWindow(), WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
        copy.Send(RegisterWindowMessageA("TaskbarCreated"));
        EXPECT_TRUE(copy.EndSession());
        EXPECT_TRUE(copy.Closed());
        EXPECT_EQ(folder.Ini(), kOwnIni);
        EXPECT_EQ(folder.EcLog(), c.ecLog);
        if (c.ecLog.empty()) {
            EXPECT_TRUE(runningFolder.WaitForEcLog("R 58", runningFolder.EcLog("R 58").size() + 1))
                << "the running copy stopped";
        }
    }
}

// Whoever takes the instance's name first, a standard user's object or one that vantu
// may not open, keeps no vantu from starting, and a second copy still refuses. The lock
// file stays, closed to Everyone (as far as Wine keeps a DACL): one deleted on close could
// be kept pending deletion, and so unopenable, by anyone's handle that asks for no access.
TEST(Startup, ASquattedInstanceNameStopsNoCopyAndLetsNoSecondRun) {
    char windows[MAX_PATH] = {};
    GetSystemWindowsDirectoryA(windows, MAX_PATH);
    for (const char* squatter : {"O:BUD:(A;;GA;;;WD)", "O:BAD:"}) {  // another owner; a DACL that denies all
        SCOPED_TRACE(squatter);
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(squatter, SDDL_REVISION_1, &descriptor, nullptr));
        SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
        const Handle name(CreateMutexA(&attributes, FALSE, "Global\\vantu.instance"));
        LocalFree(descriptor);
        ASSERT_TRUE(name);
        const TestFolder first("-first"), second("-second");
        const Vantu running(first);
        ASSERT_TRUE(first.WaitForEcLog("R 58", 1));
        const Vantu copy(second);
        const auto box = WaitForMessageBox(copy.ProcessId(), "vantu");
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->text, "vantu is already running!");
        box->Press(IDOK);
        EXPECT_TRUE(copy.WaitForExit().has_value());
        EXPECT_TRUE(running.Closed());
        const std::string lockFile = SecurityText(std::string(windows) + "\\vantu.lock", DACL_SECURITY_INFORMATION);
        EXPECT_TRUE(!lockFile.empty() && lockFile.find(";;;WD)") == std::string::npos) << lockFile;
    }
}

}  // namespace
}  // namespace e2e
