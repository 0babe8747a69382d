#include "system/ScreenModes.h"

#include "system/Conversion.h"

namespace modScreenRes {

namespace {
constexpr ScreenSize kDownscaled{1024, 768};
constexpr ScreenSize kLarge{1280, 1024};
}  // namespace

ScreenEntry CheckedScreenEntry(ScreenSize screen, bool enableDownscaling, ScreenSize custom) {
    if (screen == kSmall)
        return ScreenEntry::Small;
    if (screen == kPanel)
        return ScreenEntry::Panel;
    if ((screen == kDownscaled && enableDownscaling) || screen == custom)
        return ScreenEntry::Custom;
    return ScreenEntry::None;
}

std::array<ScreenSize, 2> DownscalingSequence(bool on, ScreenSize custom) {
    if (on)
        return {kPanel, kDownscaled};
    return {kLarge, custom};
}

bool DownscalingSwitchedOn(const RegistryValue& value) {
    if (value.IsNumber)
        return value.Number == 1;
    return Conversion::ToInt32(value.Text) == 1;
}

}  // namespace modScreenRes
