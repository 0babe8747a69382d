#pragma once
// The screen decisions: which resolution entry a screen size stands for, and the mode
// changes that make the graphics driver take up a new downscaling state. No OS calls,
// so they are tested natively.
#include <array>
#include <cstdint>

#include "system/RegistryValue.h"

namespace modScreenRes {

struct ScreenSize {
    int32_t Width = 0, Height = 0;
    bool operator==(const ScreenSize&) const = default;
};

inline constexpr ScreenSize kPanel{1024, 600};
inline constexpr ScreenSize kSmall{800, 600};

enum class ScreenEntry { None, Custom, Panel, Small };

// The entry that a screen of this size checks: 800x600 and 1024x600 first; then the
// custom entry for the custom size, or for 1024x768 while downscaling is on.
ScreenEntry CheckedScreenEntry(ScreenSize screen, bool enableDownscaling, ScreenSize custom);

// The two mode changes, 100 ms apart, that follow a change of the switched-on value
// while the custom resolution is selected.
std::array<ScreenSize, 2> DownscalingSequence(bool on, ScreenSize custom);

// The driver's "Display1_DownScalingEnabled" as read: on only when it is the number 1.
bool DownscalingSwitchedOn(const RegistryValue& value);

}  // namespace modScreenRes
