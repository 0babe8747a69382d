#pragma once
// Draws the tray pictures: text over a 16 x 16 base picture on a magenta
// background, turned into an icon in which the magenta pixels are transparent.
#include <windows.h>

#include <cstdint>

#include "app/GdiHandles.h"

namespace TrayPictures {

inline constexpr int kIconSize = 16;
inline constexpr COLORREF kTransparent = RGB(255, 0, 255);  // magenta

// The two digits and the degree sign over the chip picture, or alone in a larger
// font (fullSize), in the given colour.
Gdi::Icon DrawTemperaturePicture(uint8_t temperature, COLORREF color, bool fullSize);

// The remaining time ("2:05") under the battery picture, in the given colour.
Gdi::Icon DrawBatteryPicture(int32_t batteryLifeSeconds, COLORREF color);

// The undrawn chip picture, as the program's resources hold it.
Gdi::Icon LoadChipPicture();

}  // namespace TrayPictures
