// Start-up and shutdown of the real program, seen from outside: its settings file,
// its windows and message boxes, and the simulated EC's log.
#include <gtest/gtest.h>

#include "Harness.h"

namespace e2e {
namespace {

const milliseconds kStartup = kEventBound;

const char kDefaultIni[] =
    "[Advanced]\r\n"
    "PreventHDClicks=False\r\n"
    "ShowRemainingBattIcon=True\r\n"
    "TimerInterval=3000\r\n"
    "EnableDownscaling=False\r\n"
    "ShowFullSizeTempIcon=False\r\n"
    "SingleIconMode=False\r\n"
    "[Fan]\r\n"
    "Control=3\r\n"
    "Stop=50\r\n"
    "Slow=60\r\n"
    "Auto=65\r\n"
    "[Processor]\r\n"
    "AC=1\r\n"
    "DC=0\r\n"
    "[Colors]\r\n"
    "TemperatureTextColor=&HFFFFFF\r\n"
    "TemperatureTextColor2=&H40FF60\r\n"
    "BatteryTextColor=&H0\r\n"
    "[Special]\r\n"
    "UseCustomFanValue=False\r\n"
    "FanValueOff=&HAF\r\n"
    "FanValueSlow=&H10\r\n"
    "FanValueAuto=&H0\r\n"
    "FanSlowModeThreshold=42\r\n"
    "CustomResolutionWidth=1024\r\n"
    "CustomResolutionHeight=768\r\n"
    "UseCustomDevice=False\r\n"
    "CustomDeviceName=MyDevice\r\n"
    "CustomDeviceID=USB\\VID_1BCF*\r\n";

// Start-up has run to its end once the first monitor tick has read the temperature.
void WaitUntilStarted(const TestFolder& folder) {
    ASSERT_TRUE(folder.WaitForEcLog("R 58", 1, kStartup)) << "no monitor tick";
}

void ExpectLines(const std::string& ini, std::initializer_list<const char*> lines) {
    for (const char* line : lines)
        EXPECT_NE(ini.find(line), std::string::npos) << line << " missing from\n" << ini;
}

void CloseAndExpectCleanExit(const Vantu& vantu) {
    vantu.Close();
    const auto code = vantu.WaitForExit();
    ASSERT_TRUE(code.has_value()) << "vantu did not end after WM_CLOSE";
    EXPECT_EQ(*code, 0u);
}

// The exit hands the fan to the EC before it closes port access.
TEST(Startup, FirstStartWritesTheDefaultSettingsFileAndCloseLeavesTheFanToTheEc) {
    TestFolder folder;
    Vantu vantu(folder);
    WaitUntilStarted(folder);
    EXPECT_EQ(folder.Ini(), kDefaultIni);  // written at start, before any exit
    CloseAndExpectCleanExit(vantu);
    EXPECT_EQ(folder.Ini(), kDefaultIni);
    const auto log = folder.EcLog();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log.front(), "INIT 1");
    EXPECT_EQ(log[log.size() - 2], "W 55 00");
    EXPECT_EQ(log.back(), "SHUTDOWN");
}

TEST(Startup, HandSetAlternateDriverSurvivesTheSaveAndOpensNoPortLibrary) {
    TestFolder folder;
    folder.WriteIni("[Special]\r\nUseAlternateDriver=True\r\n");
    Vantu vantu(folder);
    WaitUntilStarted(folder);
    CloseAndExpectCleanExit(vantu);
    ExpectLines(folder.Ini(), {"[Special]\r\nUseAlternateDriver=True\r\nUseCustomFanValue=False\r\n",
                               "CustomDeviceID=USB\\VID_1BCF*\r\n"});
    EXPECT_TRUE(folder.EcLog("INIT").empty());
    EXPECT_TRUE(folder.EcLog("SHUTDOWN").empty());
    EXPECT_EQ(folder.EcLog().back(), "W 55 00");  // the fan still goes back to the EC
}

TEST(Startup, ASecondInstanceIsRefusedAndTheFirstKeepsRunning) {
    TestFolder folder;
    Vantu first(folder);
    WaitUntilStarted(folder);
    Vantu second(folder);
    const auto box = WaitForMessageBox(second.ProcessId(), "vantu");
    ASSERT_TRUE(box.has_value()) << "no message box from the second instance";
    EXPECT_EQ(box->text, "vantu is already running!");
    box->Press(IDOK);
    EXPECT_TRUE(second.WaitForExit().has_value());
    EXPECT_TRUE(first.Running());
    EXPECT_EQ(folder.EcLog("INIT").size(), 1u);  // the second one never reached port access
    CloseAndExpectCleanExit(first);
}

// A value that fails conversion takes its key's default; the rest still loads, and
// the close writes every value back in its own form.
TEST(Startup, CloseWritesTheSettingsBackAndABadValueOnlyCostsItsOwnKey) {
    TestFolder folder;
    folder.WriteIni(
        "[Advanced]\r\nTimerInterval=3x00\r\nPreventHDClicks=TRUE\r\n"
        "[Fan]\r\nControl=1\r\nStop=  40 \r\n[Colors]\r\nTemperatureTextColor=4259680\r\n"
        "[Special]\r\nFanValueOff=&H100\r\nFanValueSlow=34\r\nCustomDeviceName=Card reader\r\n");
    Vantu vantu(folder);
    WaitUntilStarted(folder);
    CloseAndExpectCleanExit(vantu);
    ExpectLines(folder.Ini(), {"PreventHDClicks=True\r\n", "TimerInterval=3000\r\n",
                               "Control=1\r\n", "Stop=40\r\n", "Slow=60\r\n",
                               "TemperatureTextColor=&H40FF60\r\n", "FanValueOff=&HAF\r\n",
                               "FanValueSlow=&H22\r\n", "CustomDeviceName=Card reader\r\n"});
}

TEST(Startup, PortLibraryFailingTenTimesStillStarts) {
    TestFolder folder;
    folder.SetEc("InitFailures", "10");
    Vantu vantu(folder);
    WaitUntilStarted(folder);
    EXPECT_EQ(folder.EcLog("INIT 0").size(), 10u);
    EXPECT_EQ(folder.EcLog("INIT 1").size(), 1u);
    CloseAndExpectCleanExit(vantu);
}

TEST(Startup, PortLibraryFailingElevenTimesEndsTheProgramWithAMessage) {
    TestFolder folder;
    folder.SetEc("InitFailures", "11");
    Vantu vantu(folder);
    const auto box = WaitForMessageBox(vantu.ProcessId(), "vantu", kStartup);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, "Error, can't initialize IO access.");
    box->Press(IDOK);
    EXPECT_TRUE(vantu.WaitForExit().has_value());
    EXPECT_EQ(folder.EcLog("INIT 0").size(), 11u);
    EXPECT_TRUE(folder.EcLog("INIT 1").empty());
    // Ended without the shutdown steps: no fan write, no port library shutdown.
    EXPECT_TRUE(folder.EcLog("W ").empty());
    EXPECT_TRUE(folder.EcLog("SHUTDOWN").empty());
}

// Everything that can reach the window of a copy whose start-up is ending: a suspend
// and a resume through the subclass, a restarted shell, the end of the session, and
// last a WM_CLOSE, which ends the copy.
void SendEverythingThatCouldEndIt(const Vantu& copy) {
    const HWND window = copy.MainWindow();
    ASSERT_NE(window, nullptr);
    DWORD_PTR result = 0;
    const UINT bound = static_cast<UINT>(kEventBound.count());
    for (const WPARAM event : {WPARAM(PBT_APMSUSPEND), WPARAM(PBT_APMRESUMESUSPEND)})
        SendMessageTimeoutA(window, WM_POWERBROADCAST, event, 0, SMTO_NORMAL, bound, &result);
    SendMessageTimeoutA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_NORMAL, bound,
                        &result);
    EXPECT_TRUE(copy.EndSession());
    copy.Close();
}

// A copy that ends at start-up runs none of the shutdown steps, whatever reaches its
// window while its message shows: its settings file stays as it was, and its port
// library is neither used nor closed. A running copy is not disturbed.
TEST(Startup, ACopyEndingAtStartupLeavesItsSettingsAndTheEcAlone) {
    const char kOwnIni[] = "; my netbook\r\n[Fan]\r\nControl=1\r\nStop=  40 \r\n";
    TestFolder runningFolder("-running");
    runningFolder.WriteIni("[Advanced]\r\nTimerInterval=200\r\n");
    Vantu running(runningFolder);
    WaitUntilStarted(runningFolder);
    const struct { const char* what; bool alone; const char* message; std::vector<std::string> ecLog; } cases[] = {
        {"a second copy", false, "vantu is already running!", {}},
        {"no port access", true, "Error, can't initialize IO access.",
         std::vector<std::string>(11, "INIT 0")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestFolder folder(c.alone ? "-alone" : "-second");
        folder.WriteIni(kOwnIni);
        folder.SetEc("InitFailures", "11");
        if (c.alone) {  // the running copy steps aside
            running.Close();
            ASSERT_TRUE(running.WaitForExit().has_value());
        }
        Vantu copy(folder);
        const auto box = WaitForMessageBox(copy.ProcessId(), "vantu", kStartup);
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->text, c.message);
        SendEverythingThatCouldEndIt(copy);
        EXPECT_TRUE(copy.WaitForExit().has_value());
        EXPECT_EQ(folder.Ini(), kOwnIni);
        EXPECT_EQ(folder.EcLog(), c.ecLog);
        if (!c.alone) {
            const size_t reads = runningFolder.EcLog("R 58").size();
            EXPECT_TRUE(runningFolder.WaitForEcLog("R 58", reads + 1, kEventBound)) << "the running copy stopped";
        }
    }
}

}  // namespace
}  // namespace e2e
