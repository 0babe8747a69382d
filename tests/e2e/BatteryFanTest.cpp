// The fan on battery of the real program: the fan register's writes as the test bed's
// power supply comes and goes, and the configuration dialog's battery lists and size.
// The tray menu on battery is read in-process (tests/wine/TrayMenuTest.cpp), an old
// file's keys natively (FanProfile, settings record). BIOS 3305 writes AF off, 00 auto.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "ConfigDialogUser.h"
#include "Harness.h"
#include "resources/resource.h"
#include "support/FakePowerSupply.h"

namespace e2e {
namespace {

const std::string kFastTicks = "[Advanced]\r\nTimerInterval=100\r\n[Fan]\r\n";

class BatteryFan : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FakePowerSupply::Available()) << "run under scripts/wine-run"; }
    void TearDown() override { FakePowerSupply::Mains(); }
};

void SwitchPower(bool battery) { battery ? FakePowerSupply::Discharging() : FakePowerSupply::Mains(); }

// Started on battery; at the write the plug goes in: each source's profile writes the
// fan register once, and nothing more while the source stays. (A further change waits a
// minute after this one: tests/native/BatteryFanTest.cpp.)
TEST_F(BatteryFan, EachPowerSourceTakesItsOwnFanModeWhileTheProgramRuns) {
    const struct { const char* name; const char* fan; const char* temperature; } cases[] = {
        {"off on battery, auto on the AC line", "Control=2\r\nBatteryControl=0\r\n", "55"},
        // 66 degrees: below the battery's stop, above the AC line's auto.
        {"custom, with thresholds of its own on battery",
         "Control=3\r\nStop=50\r\nSlow=60\r\nAuto=65\r\nBatteryStop=70\r\nBatterySlow=75\r\nBatteryAuto=80\r\n", "66"},
    };
    const Lines writes{"W 55 AF", "W 55 00"};
    SeededBiosVersion bios("V1.3305");
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        TestFolder folder("." + std::to_string(i));
        folder.WriteIni(kFastTicks + cases[i].fan);
        folder.SetEc("Temperature", cases[i].temperature);
        SwitchPower(true);
        Vantu vantu(folder);
        for (size_t count = 1; count <= writes.size(); ++count) {
            ASSERT_TRUE(folder.WaitForEcLog("W 55 ", count)) << folder.EcLog("W 55 ").size() << " writes";
            if (count < writes.size())
                SwitchPower(false);
        }
        folder.TimeOfTicks(5);
        EXPECT_EQ(folder.EcLog("W 55 "), writes);
    }
}

// The battery lists show each key (none in the file: "As on AC line") and Save stores
// the chosen items.
TEST_F(BatteryFan, TheDialogsBatteryListsAreLoadedAndSaved) {
    MenuUser user(kFastTicks + "BatteryStop=0\r\n");
    const ConfigDialog dialog(user);
    std::vector<LRESULT> shown;
    for (int id : {IDC_CBOBATTERYCONTROL, IDC_CBOBATTERYSTOP, IDC_CBOBATTERYSLOW, IDC_CBOBATTERYAUTO})
        shown.push_back(SendMessageA(dialog.Control(id), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(shown, (std::vector<LRESULT>{0, 1, 0, 0}));  // the AC line's; Off
    // Custom (after As on AC line, Off, Slow, Auto); 45 degrees; Off.
    for (const auto& [id, item] : {std::pair{IDC_CBOBATTERYCONTROL, 4}, {IDC_CBOBATTERYSTOP, 2 + 45 - 35},
                                   {IDC_CBOBATTERYSLOW, 1}})
        SendMessageA(dialog.Control(id), CB_SETCURSEL, item, 0);
    EXPECT_EQ(dialog.Press(IDC_BUTSAVE), Lines{});
    ASSERT_TRUE(dialog.WaitClosed());
    std::string stored;
    for (const char* key : {"Control", "BatteryControl", "BatteryStop", "BatterySlow", "BatteryAuto"})
        stored += user.Stored("Fan", key) + " ";
    EXPECT_EQ(stored, "3 3 45 0 -1 ");
}

// Run by the test below inside a Wine desktop of 1024x600 at the dots per inch it set:
// "DPI fits" or "DPI overflows", and the dialog's frame and the work area there, in the
// file it names.
TEST_F(BatteryFan, DISABLED_MeasureTheDialogWhereItRuns) {
    MenuUser user(kFastTicks);
    const ConfigDialog dialog(user);
    RECT frame{}, work{}, both{};
    ASSERT_TRUE(GetWindowRect(dialog.Window(), &frame) && SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    const bool fits = IntersectRect(&both, &frame, &work) && EqualRect(&both, &frame) &&
                      work.right - work.left <= 1024 && work.bottom - work.top <= 600;
    const HDC screen = GetDC(nullptr);
    std::ostringstream line;
    line << GetDeviceCaps(screen, LOGPIXELSY) << (fits ? " fits" : " overflows") << ": frame " << frame.left << ","
         << frame.top << "-" << frame.right << "," << frame.bottom << ", work area " << work.right << "x" << work.bottom;
    ReleaseDC(nullptr, screen);
    WriteFileText(std::getenv("VANTU_FIT_RESULT"), line.str() + "\n");
}

// The whole dialog, battery lists and all, lies inside the work area of a netbook's
// 1024x600 screen, at 96 and at 120 dots per inch.
TEST_F(BatteryFan, TheDialogFitsTheWorkAreaOfA1024x600Screen) {
    TestFolder folder;
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    for (const std::string dpi : {"96", "120"}) {
        const SeededRegistryValue logPixels("Control Panel\\Desktop", "LogPixels", REG_DWORD,
                                            SeededRegistryValue::Dword(std::stoul(dpi)), HKEY_CURRENT_USER);
        const std::string result = folder.Path("fit" + dpi + ".txt");
        SetEnvironmentVariableA("VANTU_FIT_RESULT", result.c_str());
        // A desktop of its own per run: a desktop keeps the dots per inch it began with.
        const Handle explorer(Start("explorer.exe /desktop=vantu-fit-" + dpi + ",1024x600 \"" + self +
                                    "\" --gtest_filter=*DISABLED_MeasureTheDialogWhereItRuns --gtest_also_run_disabled_tests"));
        ASSERT_TRUE(WaitUntil([&] { return !ReadLines(result).empty(); })) << "no measurement at " << dpi << " dpi";
        const std::string line = ReadLines(result).front();
        EXPECT_EQ(line.substr(0, line.find(':')), dpi + " fits") << line;
    }
}

}  // namespace
}  // namespace e2e
