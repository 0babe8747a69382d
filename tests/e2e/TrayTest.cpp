// The tray as the shell sees it: the real program's requests to a recording
// notification area (tools/traylog), with battery states from the fake power supply.
#include <gtest/gtest.h>

#include <algorithm>

#include "Harness.h"
#include "support/FakePowerSupply.h"

namespace e2e {
namespace {

constexpr unsigned kMain = 0, kBattery = 1;
// Colours of the pictures as the recorder writes them (RRGGBB).
const char kWhiteDigits[] = "FFFFFF", kGreenDigits[] = "60FF40", kChip[] = "404048", kTerminal[] = "F0D000";
const char kOnBattery[] = "3:00 (75%)";  // the fake battery: 75 %, three hours left

Calls Of(const Calls& calls, const std::string& verb, unsigned id) {
    Calls found;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(found),
                 [&](const TrayCall& c) { return c.verb == verb && c.id == id; });
    return found;
}

// Each test leaves the power supply as the test bed has it: mains, no battery.
class Tray : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FakePowerSupply::Available()) << "run under scripts/wine-run";
        folder_.SetEc("Temperature", "55");
    }
    void TearDown() override { FakePowerSupply::Mains(); }
    TestFolder folder_;
};

TEST_F(Tray, IconsFollowTheProgramAndThePowerStatus) {
    folder_.WriteIni("[Advanced]\r\nTimerInterval=100\r\n");
    const TrayRecorder tray(folder_, "tray.log");
    Vantu vantu(folder_);
    ASSERT_TRUE(tray.WaitFor([](const Calls& c) { return Of(c, "MODIFY", kMain).size() >= 3; }));
    // Added at start, the chip without a tooltip; the first tick's tooltip shows from
    // the second on; mains, adaptive throttling: white digits.
    const Calls start = tray.Get();
    EXPECT_EQ(start[0].verb + std::to_string(start[0].id) + " " + std::to_string(start[0].flags) + " " +
                  std::to_string(start[0].callback) + " " + start[0].tip, "ADD0 7 512 ");
    EXPECT_TRUE(start[0].Shows(kChip) && !start[0].Shows(kWhiteDigits));
    EXPECT_TRUE(start[1].Shows(kWhiteDigits) && start[1].tip.empty());
    EXPECT_EQ(start[2].tip, "No battery");

    // On battery the battery icon comes (no tooltip, no callback), the digits turn green
    // ("800 Mhz"); back on mains it goes; on battery again it comes back.
    FakePowerSupply::Discharging();
    ASSERT_TRUE(tray.WaitFor([](const Calls& c) {
        const Calls main = Of(c, "MODIFY", kMain);
        return !Of(c, "MODIFY", kBattery).empty() && main.back().tip == kOnBattery && main.back().Shows(kGreenDigits);
    }));
    const TrayCall battery = Of(tray.Get(), "MODIFY", kBattery).front();
    EXPECT_TRUE(battery.accepted && battery.Shows(kTerminal) && battery.Shows("000000"));
    EXPECT_EQ(battery.tip + std::to_string(battery.callback), "0");
    FakePowerSupply::Mains();
    ASSERT_TRUE(tray.WaitFor([](const Calls& c) { return Of(c, "DELETE", kBattery).size() == 1; }));
    FakePowerSupply::Discharging();
    ASSERT_TRUE(tray.WaitFor([](const Calls& c) { return Of(c, "ADD", kBattery).size() == 2; }));

    vantu.Close();
    ASSERT_TRUE(vantu.WaitForExit().has_value());
    const Calls calls = tray.Get();
    EXPECT_EQ(calls[calls.size() - 2].verb + std::to_string(calls[calls.size() - 2].id), "DELETE0");
    EXPECT_EQ(calls.back().verb + std::to_string(calls.back().id), "DELETE1");
    for (const auto& call : calls)  // every request named a known icon or added a new one
        EXPECT_TRUE(call.accepted) << call.verb << " " << call.id;
}

// Single-icon mode: on battery the main icon shows the time on every other tick, in
// the same tick as the temperature (so "BTT" over and over); on mains only the
// temperature, and never a battery icon.
TEST_F(Tray, SingleIconModeTakesTurnsOnBattery) {
    folder_.WriteIni("[Advanced]\r\nTimerInterval=100\r\nSingleIconMode=True\r\n");
    FakePowerSupply::Discharging();
    const TrayRecorder tray(folder_, "tray.log");
    Vantu vantu(folder_);
    const auto turns = [](const Calls& c, const std::string& tip) {
        std::string turns;
        for (const auto& call : Of(c, "MODIFY", kMain))
            if (!turns.empty() || call.tip == tip)
                turns += call.Shows(kTerminal) ? 'B' : call.Shows(kChip) ? 'T' : '?';
        return turns;
    };
    ASSERT_TRUE(tray.WaitFor([&](const Calls& c) { return turns(c, kOnBattery).size() >= 12; }));
    const std::string onBattery = turns(tray.Get(), kOnBattery);
    const size_t first = onBattery.find('B');
    EXPECT_EQ(onBattery.substr(first, 9), "BTTBTTBTT") << onBattery;
    FakePowerSupply::Mains();
    ASSERT_TRUE(tray.WaitFor([&](const Calls& c) { return turns(c, "No battery").size() >= 4; }));
    EXPECT_EQ(turns(tray.Get(), "No battery").substr(0, 4), "TTTT");
    EXPECT_EQ(Of(tray.Get(), "ADD", kBattery).size(), 0u);
}

// A shell that restarts without a word refuses changes of icons it lost: they are
// added again. One that broadcasts "TaskbarCreated" gets them at once, with the
// picture and tooltip they had.
TEST_F(Tray, ARestartedShellGetsTheIconsBack) {
    for (const bool broadcast : {false, true}) {
        SCOPED_TRACE(broadcast ? "TaskbarCreated" : "refused change");
        // With the broadcast, the only tick is the one at start: no change can re-add.
        folder_.WriteIni(broadcast ? "[Advanced]\r\nTimerInterval=600000\r\n" : "[Advanced]\r\nTimerInterval=100\r\n");
        FakePowerSupply::Discharging();
        std::optional<TrayRecorder> tray(std::in_place, folder_, "first.log");
        Vantu vantu(folder_);
        ASSERT_TRUE(tray->WaitFor([](const Calls& c) { return Of(c, "ADD", kBattery).size() == 1; }));
        const TrayCall drawn = Of(tray->Get(), "MODIFY", kMain).back();
        tray.emplace(folder_, "second.log");
        if (broadcast)
            PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
        ASSERT_TRUE(tray->WaitFor([](const Calls& c) { return Of(c, "ADD", kMain).size() + Of(c, "ADD", kBattery).size() == 2; }));
        const Calls again = tray->Get();
        const TrayCall main = Of(again, "ADD", kMain).front();
        EXPECT_TRUE(main.accepted);
        EXPECT_EQ(main.tip, kOnBattery);
        EXPECT_EQ(main.callback, 0x200u);
        EXPECT_TRUE(broadcast ? main.hash == drawn.hash && again.front().verb == "ADD" : !again.front().accepted);
        EXPECT_TRUE(Of(again, "ADD", kBattery).front().Shows(kTerminal));
        vantu.Close();
        ASSERT_TRUE(vantu.WaitForExit().has_value());
    }
}

// Either button's release on the main icon opens the menu (other mouse events and the
// battery icon's do not); Esc closes it, and its Exit ends the program as closing it
// would: fan handed back, settings saved.
TEST_F(Tray, ButtonReleaseOpensTheMenuAndExitEnds) {
    folder_.WriteIni("[Advanced]\r\nTimerInterval=100\r\n");
    Vantu vantu(folder_);
    const HWND main = vantu.MainWindow();
    const auto menu = [&] { return OpenPopupMenu(vantu.ProcessId()); };
    for (UINT ignored : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_LBUTTONDBLCLK, WM_MBUTTONUP})
        PostMessageA(main, WM_MOUSEMOVE, 0, ignored);
    PostMessageA(main, WM_NULL, 0, 0);  // the battery icon's callback
    EXPECT_FALSE(WaitUntil([&] { return menu() != nullptr; }, milliseconds(1000)));
    PostMessageA(main, WM_MOUSEMOVE, 0, WM_LBUTTONUP);
    ASSERT_TRUE(WaitUntil([&] { return menu() != nullptr; }));
    PostMessageA(menu(), WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitUntil([&] { return menu() == nullptr; }));
    PostMessageA(main, WM_MOUSEMOVE, 0, WM_RBUTTONUP);
    ASSERT_TRUE(WaitUntil([&] { return menu() != nullptr; }));
    PostMessageA(menu(), WM_CHAR, 'e', 0);
    ASSERT_TRUE(vantu.WaitForExit().has_value());
    EXPECT_EQ(folder_.EcLog().back(), "SHUTDOWN");
    EXPECT_EQ(folder_.EcLog("W 55 ").back(), "W 55 00");
    EXPECT_NE(folder_.Ini().find("[Fan]"), std::string::npos);
}

}  // namespace
}  // namespace e2e
