#pragma once
// Draws the tray pictures: text over a 16 x 16 base picture on a magenta
// background, turned into an icon in which the magenta pixels are transparent.
#include <windows.h>

#include <cstdint>
#include <string>

#include "system/GdiHandles.h"

namespace TrayPictures {

inline constexpr int kIconSize = 16;

enum class Base { None, Chip, Battery };
enum class Face { Small, FullSize, BatteryTime };

// What a picture shows; equal descriptions draw equal pictures.
struct Picture {
    Base base;
    Face face;
    std::wstring text;
    int x, y;
    COLORREF color;
    bool operator==(const Picture&) const = default;
};

// The two digits and the degree sign over the chip picture, or alone in a larger
// font (fullSize), in the given colour.
Picture TemperaturePicture(uint8_t temperature, COLORREF color, bool fullSize);

// The remaining time ("2:05") under the battery picture, in the given colour.
Picture BatteryPicture(int32_t batteryLifeSeconds, COLORREF color);

Gdi::Icon Draw(const Picture& picture);

// The undrawn chip picture, as the program's resources hold it.
Gdi::Icon LoadChipPicture();

}  // namespace TrayPictures
