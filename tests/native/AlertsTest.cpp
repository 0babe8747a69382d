#include "app/Alerts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Besides readings: sleep moves the guard, Later lets the quiet time pass.
constexpr int Suspend = -1, Resume = -2, Later = -3;

// The balloons of a run of 3 s ticks under the real safety rules: "!" a warning, "i"
// news. The tick count starts a minute before its wrap: a short run stays before it,
// one with Later crosses it.
std::vector<std::wstring> Balloons(const std::vector<int>& events) {
    FanSafety::Guard guard;
    Alerts::State state;
    std::vector<std::wstring> shown;
    uint32_t now = 0xFFFF0000;
    for (int event : events) {
        now += event == Later ? Alerts::QuietMs - 6000 : 3000;
        if (event < 0) {
            guard.Sleeping = event == Suspend || (guard.Sleeping && event == Later);
            continue;
        }
        FanSafety::DecideTickFan(guard, uint8_t(event), 0, 3, {50, 60, 65, 42});
        if (const auto balloon = Alerts::AfterTick(state, Alerts::HoldCause(guard), uint8_t(event), now)) {
            EXPECT_LT(balloon->text.size(), 255u);
            shown.push_back((balloon->icon == Alerts::Balloon::Icon::Warning ? L"!" : L"i") + balloon->text);
        }
    }
    return shown;
}

std::wstring Hot(int t) {
    return L"!" + std::to_wstring(t) + L" \u00B0C: the fan is back under the EC's control until 80 \u00B0C.";
}
std::wstring Cooled(int t) { return L"i" + std::to_wstring(t) + L" \u00B0C: the fan is back in the chosen mode."; }
std::wstring Returned(int t) {
    return L"i" + std::to_wstring(t) + L" \u00B0C: readings are back, and so is the chosen fan mode.";
}
const std::wstring Silent =
    L"!The EC gave no temperature for 5 ticks: the fan is back under its control until a reading returns.";

// One warning as a hold starts, one piece of news as the chosen mode takes over again;
// a hold that goes on, or one nobody was warned about (sleep), brings nothing.
TEST(Alerts, OneBalloonAsAHoldStartsAndOneAsItEnds) {
    const struct { const char* what; std::vector<int> events; std::vector<std::wstring> balloons; } rows[] = {
        {"critical, until cooled", {60, 92, 95, 85, 81, 80, 60}, {Hot(92), Cooled(80)}},
        {"five ticks without a reading", {60, 0, 0, 0, 0, 0, 0, 55, 55}, {Silent, Returned(55)}},
        {"readings return critical", {60, 0, 0, 0, 0, 0, 95, 85, 80}, {Silent, Hot(95), Cooled(80)}},
        {"critical without readings", {92, 0, 0, 0, 0, 0, 0, 85, 80}, {Hot(92), Cooled(80)}},
        {"sleep alone says nothing", {60, Suspend, 60, 60, Resume, 60}, {}},
        {"cooled asleep: news once awake", {92, Suspend, 70, 70, Resume, 70, 70}, {Hot(92), Cooled(70)}},
        {"awake, no reading yet", {92, Suspend, 70, Resume, 0, 70}, {Hot(92), Cooled(70)}},
        // Within ten minutes of an all-clear its cause stays quiet, the end of a hold too.
        {"a flapping EC", {0, 0, 0, 0, 0, 55, 0, 0, 0, 0, 0, 55, 0, 0, 0, 0, 0, 55}, {Silent, Returned(55)}},
        {"still held when the quiet ends", {0, 0, 0, 0, 0, 55, 0, 0, 0, 0, 0, Later, 0, 55},
         {Silent, Returned(55), Silent, Returned(55)}},
        {"the quiet's last tick and the next", {92, 80, Later, 93, 94}, {Hot(92), Cooled(80), Hot(94)}},
        {"another cause at once", {0, 0, 0, 0, 0, 55, 92}, {Silent, Returned(55), Hot(92)}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(Balloons(r.events), r.balloons) << r.what;
}

// A critical warning without a good reading to show (the caller may start watching
// mid-spell) does not claim 0 °C.
TEST(Alerts, CriticalWithoutAReadingToShow) {
    Alerts::State state;
    EXPECT_EQ(Alerts::AfterTick(state, Alerts::Cause::Critical, 0, 0)->text,
              L"Critically hot: the fan is back under the EC's control until 80 \u00B0C.");
    // The tooltip's first line while the rules hold the fan, none otherwise.
    EXPECT_STREQ(Alerts::HoldLine(Alerts::Cause::Critical), "EC has the fan: too hot");
    EXPECT_STREQ(Alerts::HoldLine(Alerts::Cause::NoReadings), "EC has the fan: no reading");
    EXPECT_STREQ(Alerts::HoldLine(Alerts::Cause::Sleeping), "");
}

}  // namespace
