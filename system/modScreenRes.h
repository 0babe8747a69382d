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

// Switches the primary display and stores the mode in the user's display settings. A
// mode that needs a restart says "Can't change resolution"; other refusals are silent.
void ChangeResolution(int32_t width, int32_t height);

// Switches downscaling in the driver's registry and in the settings, and makes the
// driver take it up when the custom resolution is selected. Nothing without the key.
void SetDownscaling(bool on);

// Lets the driver list modes larger than the panel, and takes over a switched-on
// downscaling (never switches the setting off).
void DetectDownscaling();

int32_t ScreenWidthPixels();
int32_t ScreenHeightPixels();

}  // namespace modScreenRes
