#include "app/TrayPictures.h"

#include <string>

#include "app/TrayArt.h"
#include "resources/resource.h"

namespace TrayPictures {

namespace {

constexpr int kPixels = kIconSize * kIconSize;
// DIB pixels are 0x00RRGGBB; magenta reads the same either way round.
constexpr uint32_t kTransparentPixel = 0x00FF00FF;
constexpr uint32_t kOpaque = 0xFF000000;
// The icon has a fixed pixel size, so the fonts are sized for 96 dots per inch
// whatever the screen's setting: larger digits would not fit.
constexpr int kDotsPerInch = 96;

struct Font {
    const char* face;
    int hundredthsOfPoint;
};
constexpr Font kSmallFont{"Small Fonts", 600};
constexpr Font kFullSizeFont{"MS Sans Serif", 900};
constexpr Font kBatteryFont{"Small Fonts", 675};

struct Text {
    std::wstring text;
    int x, y;
    Font font;
    COLORREF color;
};

HICON LoadResourcePicture(int id) {
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                         IMAGE_ICON, kIconSize, kIconSize, 0));
}

Gdi::Object CreateTextFont(const Font& font) {
    // Non-antialiased: every text pixel is exactly the text colour, none a blend
    // with the magenta that would show as a pink fringe.
    return Gdi::Object(CreateFontA(-MulDiv(font.hundredthsOfPoint, kDotsPerInch, 7200), 0, 0, 0,
                                   FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH,
                                   font.face));
}

// A 32-bit top-down surface: its pixels can be read and written in place.
Gdi::Object CreateSurface(uint32_t*& pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kIconSize;
    info.bmiHeader.biHeight = -kIconSize;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Gdi::Object surface(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    pixels = surface ? static_cast<uint32_t*>(bits) : nullptr;
    return surface;
}

void DrawOnto(HBITMAP surface, HICON base, const Text& text) {
    const Gdi::MemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc)
        return;
    const Gdi::Selection selectedSurface(dc.get(), surface);
    if (base)
        DrawIconEx(dc.get(), 0, 0, base, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
    const Gdi::Object font = CreateTextFont(text.font);
    const Gdi::Selection selectedFont(dc.get(), font.get());
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), text.color);
    TextOutW(dc.get(), text.x, text.y, text.text.c_str(), static_cast<int>(text.text.size()));
    GdiFlush();
}

// Magenta becomes transparent: set in the mask, black and clear in the colour
// bitmap; every other pixel is opaque, in the mask and in the alpha channel.
Gdi::Icon IconFromSurface(HBITMAP surface, uint32_t* pixels) {
    constexpr int kMaskRowBytes = (kIconSize + 15) / 16 * 2;  // rows of whole words
    BYTE mask[kMaskRowBytes * kIconSize] = {};
    for (int i = 0; i < kPixels; ++i) {
        const int row = i / kIconSize, column = i % kIconSize;
        if ((pixels[i] & 0x00FFFFFF) == kTransparentPixel) {
            pixels[i] = 0;
            mask[row * kMaskRowBytes + column / 8] |= BYTE(0x80 >> (column % 8));
        } else {
            pixels[i] |= kOpaque;
        }
    }
    const Gdi::Object maskBitmap(CreateBitmap(kIconSize, kIconSize, 1, 1, mask));
    if (!maskBitmap)
        return Gdi::Icon();
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = static_cast<HBITMAP>(maskBitmap.get());
    info.hbmColor = surface;
    // The icon keeps copies of both bitmaps; ours go with their owners.
    return Gdi::Icon(CreateIconIndirect(&info));
}

Gdi::Icon DrawPicture(HICON base, const Text& text) {
    uint32_t* pixels = nullptr;
    const Gdi::Object surface = CreateSurface(pixels);
    if (!surface)
        return Gdi::Icon();
    for (int i = 0; i < kPixels; ++i)
        pixels[i] = kTransparentPixel;
    DrawOnto(static_cast<HBITMAP>(surface.get()), base, text);
    return IconFromSurface(static_cast<HBITMAP>(surface.get()), pixels);
}

}  // namespace

Gdi::Icon LoadChipPicture() { return Gdi::Icon(LoadResourcePicture(IDI_CHIP)); }

Gdi::Icon DrawTemperaturePicture(uint8_t temperature, COLORREF color, bool fullSize) {
    const std::wstring text = TrayArt::TemperatureText(temperature);
    if (fullSize)
        return DrawPicture(nullptr, {text, 0, 2, kFullSizeFont, color});  // y 2.25: row 2
    const Gdi::Icon chip = LoadChipPicture();
    return DrawPicture(chip.get(), {text, 2, 3, kSmallFont, color});
}

Gdi::Icon DrawBatteryPicture(int32_t batteryLifeSeconds, COLORREF color) {
    const Gdi::Icon battery(LoadResourcePicture(IDI_BATTERY));
    return DrawPicture(battery.get(), {TrayArt::BatteryTimeText(batteryLifeSeconds), -1, 7,
                                       kBatteryFont, color});
}

}  // namespace TrayPictures
