#include "app/TrayPictures.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "app/TrayArt.h"
#include "resources/resource.h"

namespace TrayPictures {

namespace {

constexpr int kPixels = kIconSize * kIconSize;
using Pixels = std::array<uint32_t, kPixels>;
// DIB pixels are 0x00RRGGBB; magenta reads the same either way round.
constexpr uint32_t kTransparent = 0x00FF00FF;
constexpr uint32_t kOpaque = 0xFF000000;
// The icon has a fixed pixel size, so the fonts are sized for 96 dots per inch
// whatever the screen's setting: larger digits would not fit.
constexpr int kDotsPerInch = 96;

struct FontDesign {
    const char* face;
    int hundredthsOfPoint;
};
constexpr FontDesign kFonts[] = {{"Small Fonts", 600}, {"MS Sans Serif", 900}, {"Small Fonts", 675}};
constexpr int kBaseIds[] = {0, IDI_CHIP, IDI_BATTERY};

// What drawing needs is made once and kept, as a picture box keeps its own: under
// Wine a new DC, an icon loaded or a font mapped costs more than a whole tick.
struct Studio {
    Gdi::MemoryDc dc;
    Gdi::Object surface;  // 32-bit top-down DIB
    uint32_t* pixels = nullptr;
    Gdi::Object fonts[std::size(kFonts)];
    Pixels bases[std::size(kBaseIds)];
    bool basesLoaded[std::size(kBaseIds)] = {};
} studio;

bool OpenStudio() {
    if (studio.pixels)
        return true;
    studio.dc = Gdi::MemoryDc(CreateCompatibleDC(nullptr));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kIconSize;
    info.bmiHeader.biHeight = -kIconSize;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    studio.surface = Gdi::Object(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (studio.dc && studio.surface)
        studio.pixels = static_cast<uint32_t*>(bits);
    return studio.pixels != nullptr;
}

HBITMAP Surface() { return static_cast<HBITMAP>(studio.surface.get()); }

HFONT TextFont(Face face) {
    // Non-antialiased: every text pixel is exactly the text colour, none a blend
    // with the magenta that would show as a pink fringe.
    Gdi::Object& font = studio.fonts[int(face)];
    const FontDesign& design = kFonts[int(face)];
    if (!font)
        font = Gdi::Object(CreateFontA(-MulDiv(design.hundredthsOfPoint, kDotsPerInch, 7200), 0, 0,
                                       0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                       NONANTIALIASED_QUALITY, DEFAULT_PITCH, design.face));
    return static_cast<HFONT>(font.get());
}

HICON LoadResourcePicture(int id) {
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                         IMAGE_ICON, kIconSize, kIconSize, 0));
}

// A base picture's pixels on the magenta background, drawn once.
const Pixels& BasePixels(Base base) {
    const int b = int(base);
    if (!studio.basesLoaded[b]) {
        studio.basesLoaded[b] = true;
        std::fill(studio.pixels, studio.pixels + kPixels, kTransparent);
        if (const Gdi::Icon picture{kBaseIds[b] ? LoadResourcePicture(kBaseIds[b]) : nullptr}) {
            const Gdi::Selection selected(studio.dc.get(), Surface());
            DrawIconEx(studio.dc.get(), 0, 0, picture.get(), kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
            GdiFlush();
        }
        std::memcpy(studio.bases[b].data(), studio.pixels, sizeof(Pixels));
    }
    return studio.bases[b];
}

void DrawText(const Picture& picture) {
    const Gdi::Selection selectedSurface(studio.dc.get(), Surface());
    const Gdi::Selection selectedFont(studio.dc.get(), TextFont(picture.face));
    SetBkMode(studio.dc.get(), TRANSPARENT);
    SetTextColor(studio.dc.get(), picture.color);
    TextOutW(studio.dc.get(), picture.x, picture.y, picture.text.c_str(), int(picture.text.size()));
    GdiFlush();
}

// Magenta becomes transparent: set in the mask, black and clear in the colour
// bitmap; every other pixel is opaque, in the mask and in the alpha channel.
Gdi::Icon IconFromSurface() {
    constexpr int kMaskRowBytes = (kIconSize + 15) / 16 * 2;  // rows of whole words
    BYTE mask[kMaskRowBytes * kIconSize] = {};
    uint32_t* pixels = studio.pixels;
    for (int i = 0; i < kPixels; ++i) {
        const int row = i / kIconSize, column = i % kIconSize;
        if ((pixels[i] & 0x00FFFFFF) == kTransparent) {
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
    info.hbmColor = Surface();
    // The icon keeps copies of both bitmaps.
    return Gdi::Icon(CreateIconIndirect(&info));
}

}  // namespace

Picture TemperaturePicture(uint8_t temperature, COLORREF color, bool fullSize) {
    const std::wstring text = TrayArt::TemperatureText(temperature);
    if (fullSize)
        return {Base::None, Face::FullSize, text, 0, 2, color};  // y 2.25: pixel row 2
    return {Base::Chip, Face::Small, text, 2, 3, color};
}

Picture BatteryPicture(int32_t batteryLifeSeconds, COLORREF color) {
    return {Base::Battery, Face::BatteryTime, TrayArt::BatteryTimeText(batteryLifeSeconds), -1, 7, color};
}

Gdi::Icon Draw(const Picture& picture) {
    if (!OpenStudio())
        return Gdi::Icon();
    const Pixels& base = BasePixels(picture.base);
    std::memcpy(studio.pixels, base.data(), sizeof(Pixels));
    DrawText(picture);
    return IconFromSurface();
}

Gdi::Icon LoadChipPicture() { return Gdi::Icon(LoadResourcePicture(IDI_CHIP)); }

}  // namespace TrayPictures
