#include "system/ScreenModes.h"

#include <gtest/gtest.h>

using namespace modScreenRes;

// The panel entry wins over an equal custom one; 1024x768 is checked as the custom size or downscaled.
TEST(ScreenModes, CheckedEntryFromTheScreenSize) {
    using E = ScreenEntry;
    const ScreenSize standard{1024, 768}, large{1280, 1024};
    const struct { ScreenSize screen; bool downscaling; ScreenSize custom; ScreenEntry entry; } cases[] = {
        {{800, 600}, false, standard, E::Small},    {{1024, 600}, false, {1024, 600}, E::Panel},
        {{1024, 768}, false, standard, E::Custom},  {{1024, 768}, true, large, E::Custom},
        {{1024, 768}, false, large, E::None},       {{1280, 1024}, true, standard, E::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckedScreenEntry(c.screen, c.downscaling, c.custom), c.entry)
            << c.screen.Width << "x" << c.screen.Height << " downscaling " << c.downscaling;
}

TEST(ScreenModes, DownscalingSequences) {
    const ScreenSize custom{1152, 864};
    EXPECT_EQ(DownscalingSequence(true, custom), (std::array<ScreenSize, 2>{{{1024, 600}, {1024, 768}}}));
    EXPECT_EQ(DownscalingSequence(false, custom), (std::array<ScreenSize, 2>{{{1280, 1024}, custom}}));
}

TEST(ScreenModes, SwitchedOnOnlyByTheNumberOne) {
    EXPECT_TRUE(DownscalingSwitchedOn(RegistryValue::OfNumber(1)));
    EXPECT_TRUE(DownscalingSwitchedOn(RegistryValue::OfText(" 1 ")));
    for (const auto& off : {RegistryValue::OfNumber(0), RegistryValue::OfNumber(-1), RegistryValue::OfNumber(257),
                            RegistryValue::OfText(kMissingMarker), RegistryValue::OfText(""),
                            RegistryValue::OfText("True")})
        EXPECT_FALSE(DownscalingSwitchedOn(off)) << off.Text << off.Number;
}
