// The tray as the shell sees it: the real program's requests to a recording
// notification area (tools/traylog), with battery states from the fake power supply.
#include <gtest/gtest.h>

#include <memory>

#include "Harness.h"
#include "support/FakePowerSupply.h"

namespace e2e {
namespace {

constexpr int kMain = 0, kBattery = 1;
// Colours of the pictures as the recorder writes them (RRGGBB).
const char kWhiteDigits[] = "FFFFFF", kGreenDigits[] = "60FF40", kChip[] = "404048", kTerminal[] = "F0D000";
const char kBlackDigits[] = "000000";
const char kOnBattery[] = "3:00 (75%)";  // the fake battery: 75 %, three hours left
const char kFastTicks[] = "[Advanced]\r\nTimerInterval=100\r\n";

// Each test leaves the power supply as the test bed has it: mains, no battery.
class Tray : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FakePowerSupply::Available()) << "run under scripts/wine-run";
        folder_.SetEc("Temperature", "55");
    }
    void TearDown() override { FakePowerSupply::Mains(); }
    // Closes the program; the last requests then are these.
    void Close(const Vantu& vantu, const TrayRecorder& tray, const Lines& last) const {
        ASSERT_TRUE(vantu.Closed());
        const Calls calls = tray.Get();
        ASSERT_GE(calls.size(), last.size());
        for (size_t i = 0; i < last.size(); ++i)
            EXPECT_EQ(calls[calls.size() - last.size() + i].line.rfind(last[i], 0), 0u) << last[i];
    }
    TestFolder folder_;
};

TEST_F(Tray, IconsFollowTheProgramAndThePowerStatus) {
    folder_.WriteIni(kFastTicks);
    const TrayRecorder tray(folder_, "tray.log");
    Vantu vantu(folder_);
    ASSERT_TRUE(WaitUntil([&] { return tray.Get("MODIFY", kMain).size() >= 1; }));
    // Added at start, the chip without a tooltip; the first tick's digits and tooltip
    // in one request; mains, adaptive throttling: white digits. Ticks that change
    // nothing send the shell nothing.
    folder_.TimeOfTicks(5);
    const Calls start = tray.Get();
    ASSERT_EQ(start.size(), 2u);
    EXPECT_EQ(start[0].line.rfind("ADD id=0 flags=7 msg=0x200 accepted", 0), 0u) << start[0].line;
    EXPECT_EQ(start[0].Tip(), "");
    EXPECT_TRUE(start[0].Shows(kChip) && !start[0].Shows(kWhiteDigits));
    EXPECT_TRUE(start[1].Shows(kWhiteDigits));
    EXPECT_EQ(start[1].Tip(), "No battery");

    // On battery the battery icon comes (no tooltip, no callback), the digits turn green
    // ("800 Mhz"); back on mains it goes; on battery again it comes back.
    FakePowerSupply::Discharging();
    ASSERT_TRUE(WaitUntil([&] {
        const Calls main = tray.Get("MODIFY", kMain);
        return !tray.Get("ADD", kBattery).empty() && !main.empty() && main.back().Tip() == kOnBattery && main.back().Shows(kGreenDigits);
    }));
    const TrayCall battery = tray.Get("ADD", kBattery).front();
    EXPECT_TRUE(battery.Accepted() && battery.Shows(kTerminal) && battery.Shows("000000"));
    EXPECT_EQ(battery.Tip() + battery.Field("msg"), "0x0");
    FakePowerSupply::Mains();
    ASSERT_TRUE(WaitUntil([&] { return tray.Get("DELETE", kBattery).size() == 1; }));
    FakePowerSupply::Discharging();
    ASSERT_TRUE(WaitUntil([&] { return tray.Get("ADD", kBattery).size() == 2; }));
    Close(vantu, tray, {"DELETE id=0", "DELETE id=1"});
    // Every request named a known icon or added a new one; no transparent pixel shows.
    for (const auto& call : tray.Get())
        EXPECT_TRUE(call.Accepted() && call.Field("stray").find_first_not_of('0') == std::string::npos) << call.line;
}

// Single-icon mode: on battery the main icon shows the time on every other tick (so
// "BT" over and over); on mains only the temperature, and never a battery icon.
TEST_F(Tray, SingleIconModeTakesTurnsOnBattery) {
    folder_.WriteIni(std::string(kFastTicks) + "SingleIconMode=True\r\n");
    FakePowerSupply::Discharging();
    const TrayRecorder tray(folder_, "tray.log");
    Vantu vantu(folder_);
    const auto turns = [&](const std::string& tip, size_t count) {  // from the first call with the tip on
        std::string turns;
        EXPECT_TRUE(WaitUntil([&] {
            turns.clear();
            for (const auto& call : tray.Get("MODIFY", kMain))
                if (!turns.empty() || call.Tip() == tip)
                    turns += call.Shows(kTerminal) ? 'B' : call.Shows(kChip) ? 'T' : '?';
            return turns.size() >= count;
        }));
        return turns;
    };
    const std::string onBattery = turns(kOnBattery, 12);
    EXPECT_EQ(onBattery.substr(onBattery.find('B'), 9), "BTBTBTBTB") << onBattery;
    FakePowerSupply::Mains();  // the digits' colour follows the fan's power source, a tick later
    turns("No battery", 1);
    folder_.TimeOfTicks(4);
    EXPECT_EQ(turns("No battery", 1).find_first_not_of('T'), std::string::npos);
    EXPECT_EQ(tray.Get("ADD", kBattery).size(), 0u);
}

// A shell that restarts without a word refuses changes of icons it lost: they are
// added again. One that broadcasts "TaskbarCreated" gets them at once, with the
// picture and tooltip they had.
TEST_F(Tray, ARestartedShellGetsTheIconsBack) {
    for (const bool broadcast : {false, true}) {
        SCOPED_TRACE(broadcast ? "TaskbarCreated" : "refused change");
        // With the broadcast, the only tick is the one at start: no change can re-add.
        folder_.WriteIni(broadcast ? "[Advanced]\r\nTimerInterval=600000\r\n" : kFastTicks);
        FakePowerSupply::Discharging();
        std::optional<TrayRecorder> tray(std::in_place, folder_, "first.log");
        Vantu vantu(folder_);
        ASSERT_TRUE(WaitUntil([&] { return tray->Get("ADD", kBattery).size() == 1; }));
        const std::string drawn = tray->Get("MODIFY", kMain).back().Field("hash");
        tray.emplace(folder_, "second.log");
        if (broadcast)
            PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return tray->Get("ADD").size() == 2; }));
        const TrayCall main = tray->Get("ADD", kMain).front(), first = tray->Get().front();
        EXPECT_EQ(main.line.rfind("ADD id=0 flags=7 msg=0x200 accepted", 0), 0u) << main.line;
        EXPECT_EQ(main.Tip(), kOnBattery);
        EXPECT_TRUE(broadcast ? main.Field("hash") == drawn && first.Verb() == "ADD" : !first.Accepted());
        EXPECT_TRUE(tray->Get("ADD", kBattery).front().Shows(kTerminal));
        Close(vantu, *tray, {});
    }
}

// Either button's release on the main icon opens the menu (other mouse events and the
// battery icon's do not); Esc closes it, and its Exit ends the program as closing it
// would: fan handed back, settings saved.
TEST_F(Tray, ButtonReleaseOpensTheMenuAndExitEnds) {
    folder_.WriteIni(kFastTicks);
    Vantu vantu(folder_);
    const HWND main = vantu.MainWindow();
    const auto menu = [&] { return OpenPopupMenu(vantu.ProcessId()); };
    for (UINT ignored : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_LBUTTONDBLCLK, WM_MBUTTONUP})
        PostMessageA(main, WM_MOUSEMOVE, 0, ignored);
    PostMessageA(main, WM_NULL, 0, 0);  // the battery icon's callback
    // The timer's message comes only when no posted one waits: two ticks on, all of them
    // have been handled (and a menu they opened would be open).
    ASSERT_TRUE(folder_.WaitForEcLog("R 58 ", folder_.EcLog("R 58 ").size() + 2));
    EXPECT_EQ(menu(), nullptr);
    for (const auto& [button, key] : {std::pair{WM_LBUTTONUP, VK_ESCAPE}, {WM_RBUTTONUP, 'e'}}) {
        PostMessageA(main, WM_MOUSEMOVE, 0, button);
        ASSERT_TRUE(WaitUntil([&] { return menu() != nullptr; }));
        PostMessageA(menu(), key == 'e' ? WM_CHAR : WM_KEYDOWN, key, 0);
        ASSERT_TRUE(WaitUntil([&] { return menu() == nullptr; }));
    }
    ASSERT_TRUE(vantu.WaitForExit().has_value());
    EXPECT_EQ(folder_.LastEcLog(), "SHUTDOWN");
    EXPECT_EQ(folder_.LastEcLog("W 55 "), "W 55 00");
    EXPECT_NE(folder_.Ini().find("[Fan]"), std::string::npos);
}

// Where Windows says its taskbar is light, the full-size digits (straight on the taskbar)
// in their default colour are drawn black; a change of the theme is taken up, and the
// settings file never changes for it. The chip's digits stay white. (Each colour by
// mode and taskbar: TrayArtTest.)
TEST_F(Tray, FullSizeDigitsReadOnALightTaskbar) {
    const auto light = [](DWORD value) {
        return std::make_unique<SeededRegistryValue>("Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                                                     "SystemUsesLightTheme", REG_DWORD,
                                                     SeededRegistryValue::Dword(value), HKEY_CURRENT_USER);
    };
    const auto digits = [&](const TrayRecorder& tray, const char* rrggbb) {
        return WaitUntil([&] {
            const Calls main = tray.Get("MODIFY", kMain);
            return !main.empty() && main.back().Shows(rrggbb) && main.back().Field("stray") == "0";
        });
    };
    auto seeded = light(1);
    for (const bool fullSize : {true, false}) {
        folder_.WriteIni(std::string(kFastTicks) + (fullSize ? "ShowFullSizeTempIcon=True\r\n" : ""));
        const TrayRecorder tray(folder_, "tray.log");
        Vantu vantu(folder_);
        EXPECT_TRUE(digits(tray, fullSize ? kBlackDigits : kWhiteDigits)) << fullSize;
        if (!fullSize)
            break;
        seeded = light(0);
        DWORD_PTR result = 0;
        SendMessageTimeoutA(vantu.MainWindow(), WM_SETTINGCHANGE, 0, LPARAM("ImmersiveColorSet"), SMTO_NORMAL,
                            UINT(kEventBound.count()), &result);
        EXPECT_TRUE(digits(tray, kWhiteDigits));
        Close(vantu, tray, {"DELETE id=0"});
        EXPECT_NE(folder_.Ini().find("[Colors]\r\nTemperatureTextColor=&HFFFFFF\r\n"), std::string::npos);
        seeded = light(1);
    }
}

}  // namespace
}  // namespace e2e
