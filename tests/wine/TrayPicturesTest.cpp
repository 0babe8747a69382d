// The tray pictures read back pixel by pixel from the icons the shell would get.
#include "app/TrayPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255), kGreen = RGB(96, 255, 64), kRed = RGB(255, 0, 0);
constexpr COLORREF kClear = 0xFFFFFFFF;  // no colour: a transparent pixel

// An icon's 16x16 pixels, row by row; kClear where the mask leaves it transparent.
struct Pixels {
    std::vector<COLORREF> color;
    int Count(COLORREF wanted, int fromRow = 0) const { return int(std::count(color.begin() + fromRow * 16, color.end(), wanted)); }
    int Opaque(int fromRow = 0, int toRow = 16) const {
        return (toRow - fromRow) * 16 - int(std::count(color.begin() + fromRow * 16, color.begin() + toRow * 16, kClear));
    }
    bool operator==(const Pixels&) const = default;
};

Pixels Read(const TrayPictures::Picture& picture) {
    const Gdi::Icon icon = TrayPictures::Draw(picture);
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon.get(), &info))
        return {};
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};  // top row first
    std::vector<uint32_t> color(256), mask(256);
    const HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDIBits(screen, info.hbmColor, 0, 16, color.data(), &format, DIB_RGB_COLORS), 16);
    EXPECT_EQ(GetDIBits(screen, info.hbmMask, 0, 16, mask.data(), &format, DIB_RGB_COLORS), 16);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    Pixels pixels;
    for (size_t i = 0; i < color.size(); ++i) {
        // A transparent pixel must be black in the colour bitmap, or it shows.
        EXPECT_TRUE(!mask[i] || !(color[i] & 0xFFFFFF)) << "transparent pixel " << i << " not cleared";
        const uint32_t p = color[i];
        pixels.color.push_back(mask[i] & 0xFFFFFF ? kClear : RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
    return pixels;
}

Pixels Temperature(uint8_t temperature, COLORREF color, bool fullSize) {
    return Read(TrayPictures::TemperaturePicture(temperature, color, fullSize));
}

// Two digits and the degree sign in the throttle colour: over the chip, which fills
// the square but for its corners, or alone on a transparent ground (full size).
// Different temperatures give different pictures, the same one the same.
TEST(TrayPictures, TemperatureDigitsInTheThrottleColourOverTheChip) {
    for (const bool fullSize : {false, true}) {
        for (const auto& [temperature, color] : {std::pair{uint8_t(5), kWhite}, {uint8_t(45), kGreen}, {uint8_t(99), kWhite}}) {
            SCOPED_TRACE(testing::Message() << int(temperature) << " full size " << fullSize);
            const Pixels p = Temperature(temperature, color, fullSize);
            EXPECT_GE(p.Count(color), 12);
            if (fullSize) {
                EXPECT_EQ(p.Count(color), p.Opaque());
            } else {
                EXPECT_TRUE(p.color[0] == kClear && p.color[15] == kClear && p.color[255] == kClear);
                EXPECT_GT(p.Opaque(), 180);
                EXPECT_GT(p.Opaque() - p.Count(color), 120);
            }
        }
        EXPECT_FALSE(Temperature(5, kWhite, fullSize) == Temperature(45, kWhite, fullSize));
        EXPECT_FALSE(Temperature(45, kWhite, fullSize) == Temperature(99, kWhite, fullSize));
        EXPECT_TRUE(Temperature(45, kWhite, fullSize) == Temperature(45, kWhite, fullSize));
    }
}

}  // namespace
