// The balloons of the real program as the recording notification area receives them
// (their texts and order for each cause: tests/native/AlertsTest.cpp): one warning for
// an EC that flaps, none with ShowAlerts=False.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "Harness.h"

namespace e2e {
namespace {

const char kFastTicks[] = "[Advanced]\r\nTimerInterval=100\r\n";

// The program started with its tray recorded, once it has ticked.
class Alerts : public testing::Test {
protected:
    void Start(const std::string& ini = kFastTicks, const char* temperature = "60") {
        folder.WriteIni(ini);
        folder.SetEc("Temperature", temperature);
        tray.emplace(folder, "tray.log");
        vantu.emplace(folder);
        ASSERT_TRUE(folder.WaitForEcLog("R 58", 1));
    }
    TestFolder folder;
    std::optional<TrayRecorder> tray;
    std::optional<Vantu> vantu;
};

// An EC that misses five reads, answers one and misses again, over and over: one
// warning and at most one all-clear (its cause then stays quiet for ten minutes), and
// the tooltip's first line says who has the fan while the rules hold it.
TEST_F(Alerts, AFlappingEcWarnsOnceAndTheTooltipSaysTheEcHasTheFan) {
    Start();
    folder.SetEc("FlapReads", "5");
    ASSERT_TRUE(folder.WaitForEcLog("MISS 58", 60));  // ten rounds
    const Lines balloons = tray->Balloons();
    ASSERT_GE(balloons.size(), 1u);
    EXPECT_EQ(balloons[0], "2 The EC gave no temperature for 5 ticks: the fan is back under its control until a "
                           "reading returns.");
    EXPECT_LE(balloons.size(), 2u) << balloons.back();
    // Set as the hand-back starts, cleared as a reading ends it.
    Lines tips;
    for (const TrayCall& call : tray->Get("MODIFY", 0))
        if (call.Field("flags") == "7" && (tips.empty() || tips.back() != call.Tip()))
            tips.push_back(call.Tip());
    const auto held = std::find(tips.begin(), tips.end(), "EC has the fan: no reading");
    ASSERT_NE(held, tips.end());
    EXPECT_NE(std::find_if(held, tips.end(), [](const std::string& tip) { return tip.rfind("EC has", 0) != 0; }),
              tips.end());
}

// A balloon that a busy shell refused while it keeps the icon comes at a later tick.
TEST_F(Alerts, ABalloonTheShellRefusedComesAtALaterTick) {
    folder.WriteIni(kFastTicks);
    folder.SetEc("Temperature", "95");
    tray.emplace(folder, "tray.log", true);
    vantu.emplace(folder);
    ASSERT_TRUE(WaitUntil([&] { return tray->Balloons().size() >= 2; }));
    const std::string text = "2 95 \u00B0C: the fan is back under the EC's control until 80 \u00B0C.";
    EXPECT_EQ(tray->Balloons(), (Lines{"refused " + text, text}));
}

TEST_F(Alerts, NoneWhenTheUserTurnedThemOff) {
    const SeededBiosVersion bios("V1.3305");  // off is AF
    Start(std::string(kFastTicks) + "ShowAlerts=False\r\n", "95");
    folder.SetEc("Temperature", "45");
    folder.TimeOfTicks(10);
    EXPECT_EQ(folder.EcLog("W 55 "), (Lines{"W 55 00", "W 55 AF"})) << "the rules took the fan, then the mode";
    EXPECT_EQ(tray->Balloons(), Lines{});
}

}  // namespace
}  // namespace e2e
