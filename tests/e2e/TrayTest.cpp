// The tray as the shell sees it: the real program's requests to a recording
// notification area (tools/traylog), with battery states from the fake power supply.
#include <gtest/gtest.h>

#include <algorithm>

#include "Harness.h"
#include "support/FakePowerSupply.h"

namespace e2e {
namespace {

using Calls = std::vector<TrayCall>;

constexpr unsigned kMain = 0, kBattery = 1;
// Colours of the pictures as the recorder writes them (RRGGBB).
const char kWhiteDigits[] = "FFFFFF", kGreenDigits[] = "60FF40", kChip[] = "404048",
           kBatteryTerminal[] = "F0D000", kBlackText[] = "000000";
const char kOnBattery[] = "3:00 (75%)";  // the fake battery: 75 %, three hours left

Calls Of(const Calls& calls, const std::string& verb, unsigned id) {
    Calls found;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(found),
                 [&](const TrayCall& c) { return c.verb == verb && c.id == id; });
    return found;
}

size_t CountOf(const Calls& calls, const std::string& verb, unsigned id) { return Of(calls, verb, id).size(); }

// Each test leaves the power supply as the test bed has it: mains, no battery.
class Tray : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FakePowerSupply::Available()) << "run under scripts/wine-run";
        FakePowerSupply::Mains();
        folder_.SetEc("Temperature", "55");
    }
    void TearDown() override { FakePowerSupply::Mains(); }

    TestFolder folder_;
};

TEST_F(Tray, IconsFollowTheProgramAndThePowerStatus) {
    folder_.WriteIni("[Advanced]\r\nTimerInterval=100\r\nShowRemainingBattIcon=True\r\n");
    const TrayRecorder tray(folder_, "tray.log");
    Vantu vantu(folder_);
    ASSERT_TRUE(tray.WaitFor([](const Calls& c) { return CountOf(c, "MODIFY", kMain) >= 3; }));

    // Added at start with no tooltip; the first tick's tooltip shows from the second on.
    const Calls start = tray.Calls();
    ASSERT_GE(start.size(), 4u);
    EXPECT_EQ(start[0].verb, "ADD");
    EXPECT_EQ(start[0].id, kMain);
    EXPECT_EQ(start[0].flags, 7u);
    EXPECT_EQ(start[0].callback, 0x200u);
    EXPECT_EQ(start[0].tip, "");
    EXPECT_TRUE(start[0].Shows(kChip));
    EXPECT_FALSE(start[0].Shows(kWhiteDigits));  // not drawn yet
    EXPECT_EQ(start[1].verb, "MODIFY");
    EXPECT_EQ(start[1].tip, "");
    EXPECT_TRUE(start[1].Shows(kWhiteDigits));  // mains, adaptive: white
    EXPECT_EQ(start[2].tip, "No battery");
    EXPECT_EQ(CountOf(start, "ADD", kBattery), 0u);

    // On battery: the icon comes, then changes; the digits turn green ("800 Mhz").
    FakePowerSupply::Discharging();
    ASSERT_TRUE(tray.WaitFor([](const Calls& c) { return CountOf(c, "MODIFY", kBattery) >= 1; }));
    Calls calls = tray.Calls();
    EXPECT_EQ(CountOf(calls, "ADD", kBattery), 1u);
    const TrayCall battery = Of(calls, "MODIFY", kBattery).front();
    EXPECT_TRUE(battery.accepted);
    EXPECT_TRUE(battery.Shows(kBatteryTerminal));
    EXPECT_TRUE(battery.Shows(kBlackText));
    EXPECT_EQ(battery.tip, "");  // the battery icon has no tooltip
    EXPECT_EQ(battery.callback, 0u);
    ASSERT_TRUE(tray.WaitFor([](const Calls& c) {
        const Calls main = Of(c, "MODIFY", kMain);
        return main.back().tip == kOnBattery && main.back().Shows(kGreenDigits);
    }));

    // Back on mains it goes; on battery again it comes back.
    FakePowerSupply::Mains();
    ASSERT_TRUE(tray.WaitFor([](const Calls& c) { return CountOf(c, "DELETE", kBattery) == 1; }));
    FakePowerSupply::Discharging();
    ASSERT_TRUE(tray.WaitFor([](const Calls& c) { return CountOf(c, "ADD", kBattery) == 2; }));

    vantu.Close();
    ASSERT_TRUE(vantu.WaitForExit().has_value());
    calls = tray.Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2].verb + std::to_string(calls[calls.size() - 2].id), "DELETE0");
    EXPECT_EQ(calls.back().verb + std::to_string(calls.back().id), "DELETE1");
    EXPECT_TRUE(calls.back().accepted);
    // Every request but the battery's delete named a known icon or added a new one.
    for (const auto& call : calls)
        EXPECT_TRUE(call.accepted) << call.verb << " " << call.id;
}

// Single-icon mode: on battery the main icon shows the time on every other tick,
// in the same tick as the temperature; on mains only the temperature.
TEST_F(Tray, SingleIconModeTakesTurnsOnBattery) {
    folder_.WriteIni("[Advanced]\r\nTimerInterval=100\r\nShowRemainingBattIcon=True\r\n"
                     "SingleIconMode=True\r\n");
    FakePowerSupply::Discharging();
    const TrayRecorder tray(folder_, "tray.log");
    Vantu vantu(folder_);
    auto onBattery = [](const Calls& c) {
        Calls main = Of(c, "MODIFY", kMain);
        main.erase(main.begin(), std::find_if(main.begin(), main.end(),
                                              [](const TrayCall& m) { return m.tip == kOnBattery; }));
        return main;
    };
    ASSERT_TRUE(tray.WaitFor([&](const Calls& c) { return onBattery(c).size() >= 12; }));
    std::string turns;  // T temperature, B battery time
    for (const auto& call : onBattery(tray.Calls()))
        turns += call.Shows(kBatteryTerminal) ? 'B' : call.Shows(kChip) ? 'T' : '?';
    // A tick without the time: T; a tick with it: T then B. So "TTB" over and over.
    EXPECT_EQ(turns.find('?'), std::string::npos) << turns;
    EXPECT_GE(std::count(turns.begin(), turns.end(), 'B'), 3) << turns;
    for (size_t b = turns.find('B'), next; (next = turns.find('B', b + 1)) != std::string::npos; b = next)
        EXPECT_EQ(turns.substr(b, next - b), "BTT") << turns;

    FakePowerSupply::Mains();
    ASSERT_TRUE(tray.WaitFor([](const Calls& c) {
        const Calls main = Of(c, "MODIFY", kMain);
        const auto mains = std::find_if(main.begin(), main.end(),
                                        [](const TrayCall& m) { return m.tip == "No battery"; });
        return main.end() - mains >= 4 &&
               std::all_of(mains, main.end(), [](const TrayCall& m) { return m.Shows(kChip); });
    })) << "the main icon stays with the temperature on mains";
    EXPECT_EQ(CountOf(tray.Calls(), "ADD", kBattery), 0u);
}

// A shell that restarts without a word refuses changes of icons it lost: they are
// added again. One that broadcasts "TaskbarCreated" gets them at once, with the
// picture and tooltip they had.
TEST_F(Tray, ARestartedShellGetsTheIconsBack) {
    for (const bool broadcast : {false, true}) {
        SCOPED_TRACE(broadcast ? "TaskbarCreated" : "refused change");
        // With the broadcast, the only tick is the one at start: no change can re-add.
        folder_.WriteIni(broadcast ? "[Advanced]\r\nTimerInterval=600000\r\n"
                                   : "[Advanced]\r\nTimerInterval=100\r\n");
        FakePowerSupply::Discharging();
        std::optional<TrayRecorder> tray;
        tray.emplace(folder_, "first.log");
        Vantu vantu(folder_);
        ASSERT_TRUE(tray->WaitFor([](const Calls& c) { return CountOf(c, "ADD", kBattery) == 1; }));
        const TrayCall drawn = Of(tray->Calls(), "MODIFY", kMain).back();

        tray.reset();
        tray.emplace(folder_, "second.log");
        if (broadcast)
            PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
        ASSERT_TRUE(tray->WaitFor([](const Calls& c) {
            return CountOf(c, "ADD", kMain) == 1 && CountOf(c, "ADD", kBattery) == 1;
        }));
        const Calls again = tray->Calls();
        const TrayCall main = Of(again, "ADD", kMain).front();
        EXPECT_TRUE(main.accepted);
        EXPECT_EQ(main.callback, 0x200u);
        EXPECT_EQ(main.tip, kOnBattery);
        if (broadcast) {
            EXPECT_EQ(main.hash, drawn.hash);
            EXPECT_EQ(again.front().verb, "ADD");  // no refused change before it
        } else {
            EXPECT_FALSE(again.front().accepted);  // the change that told of the loss
        }
        EXPECT_TRUE(Of(again, "ADD", kBattery).front().Shows(kBatteryTerminal));

        vantu.Close();
        ASSERT_TRUE(vantu.WaitForExit().has_value());
        EXPECT_EQ(CountOf(tray->Calls(), "DELETE", kMain), 1u);
    }
}

// Either button's release on the main icon opens the menu; Esc closes it, and its
// Exit ends the program as closing it would: fan handed back, settings saved.
TEST_F(Tray, ButtonReleaseOpensTheMenuAndExitEnds) {
    folder_.WriteIni("[Advanced]\r\nTimerInterval=100\r\n");
    Vantu vantu(folder_);
    const HWND main = vantu.MainWindow();
    ASSERT_NE(main, nullptr);
    const auto notify = [&](UINT mouseEvent) { PostMessageA(main, WM_MOUSEMOVE, 0, mouseEvent); };
    const auto menuOpens = [&] {
        return WaitUntil([&] { return OpenPopupMenu(vantu.ProcessId()) != nullptr; }, kEventBound);
    };

    for (UINT ignored : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_LBUTTONDBLCLK,
                         WM_RBUTTONDBLCLK, WM_MBUTTONUP})
        notify(ignored);
    PostMessageA(main, WM_NULL, 0, 0);  // the battery icon's callback
    EXPECT_FALSE(WaitUntil([&] { return OpenPopupMenu(vantu.ProcessId()) != nullptr; },
                           milliseconds(1000)));

    notify(WM_LBUTTONUP);
    ASSERT_TRUE(menuOpens());
    PostMessageA(OpenPopupMenu(vantu.ProcessId()), WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitUntil([&] { return OpenPopupMenu(vantu.ProcessId()) == nullptr; }, kEventBound));
    EXPECT_TRUE(vantu.Running());

    notify(WM_RBUTTONUP);
    ASSERT_TRUE(menuOpens());
    notify(WM_RBUTTONUP);  // a second click while it is open opens no second one
    const HWND menu = OpenPopupMenu(vantu.ProcessId());
    PostMessageA(menu, WM_CHAR, 'e', 0);
    ASSERT_TRUE(vantu.WaitForExit().has_value());
    EXPECT_EQ(folder_.EcLog().back(), "SHUTDOWN");
    EXPECT_EQ(folder_.EcLog("W 55 ").back(), "W 55 00");  // automatic fan for this BIOS
    EXPECT_NE(folder_.Ini().find("[Fan]"), std::string::npos);
}

}  // namespace
}  // namespace e2e
