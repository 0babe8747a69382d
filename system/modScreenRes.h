#pragma once
// Screen resolution and the Intel graphics driver's downscaling, which shows a mode
// larger than the 1024x600 panel scaled down onto it. The decisions come with
// ScreenModes.h.
#include <cstdint>

#include "system/ScreenModes.h"

namespace modScreenRes {

// The custom resolution is the selected mode (the one the screen menu checks). Not
// stored: start-up finds it from the screen size.
bool CustomResolutionActive();
void SetCustomResolutionActive(bool active);

// Switches the primary display and stores the mode in the user's display settings;
// `custom` is the custom resolution, which the switch selects when it is that size.
// False when the mode needs a restart (the caller says so); other refusals are silent.
bool ChangeResolution(ScreenSize size, ScreenSize custom);

// Switches downscaling in the driver's registry, and makes the driver take it up when
// the custom resolution is selected. Nothing without the driver's key.
struct Downscaling {
    bool set = false;          // the driver took it: the caller keeps it in its settings
    bool changed = true;       // false: a resolution change on the way needs a restart
};
Downscaling SetDownscaling(bool on, ScreenSize custom);

// Lets the driver list modes larger than the panel; true when downscaling is switched
// on there (the caller takes it over, and never switches its setting off for it).
bool DetectDownscaling();

int32_t ScreenWidthPixels();
int32_t ScreenHeightPixels();

}  // namespace modScreenRes
