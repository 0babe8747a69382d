// The tray pictures read back pixel by pixel from the icons the shell would get.
#include "app/TrayPictures.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGreen = RGB(96, 255, 64);  // the default colour of "800 Mhz"
constexpr COLORREF kBlack = RGB(0, 0, 0);

// An icon's pixels as COLORREFs, and which of them the mask leaves transparent.
struct Pixels {
    int width = 0, height = 0;
    std::vector<COLORREF> color;
    std::vector<bool> transparent;

    int Count(COLORREF wanted, int fromRow = 0) const {
        int n = 0;
        for (size_t i = fromRow * size_t(width); i < color.size(); ++i)
            n += !transparent[i] && color[i] == wanted;
        return n;
    }
    int Opaque(int fromRow = 0, int toRow = 1 << 30) const {
        int n = 0;
        for (size_t i = fromRow * size_t(width); i < color.size() && int(i / width) < toRow; ++i)
            n += !transparent[i];
        return n;
    }
    bool operator==(const Pixels&) const = default;
};

std::vector<COLORREF> ReadBitmap(HBITMAP bitmap, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> raw(size_t(width) * height);
    const HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, height, raw.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(rows, height);
    std::vector<COLORREF> colors;
    for (uint32_t p : raw)
        colors.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    return colors;
}

Pixels Read(const Gdi::Icon& icon) {
    Pixels pixels;
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon.get(), &info))
        return pixels;
    BITMAP color{};
    GetObjectA(info.hbmColor, sizeof color, &color);
    pixels.width = color.bmWidth;
    pixels.height = color.bmHeight;
    pixels.color = ReadBitmap(info.hbmColor, color.bmWidth, color.bmHeight);
    for (COLORREF m : ReadBitmap(info.hbmMask, color.bmWidth, color.bmHeight))
        pixels.transparent.push_back(m != kBlack);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return pixels;
}

Pixels DrawTemperature(uint8_t temperature, COLORREF color, bool fullSize) {
    return Read(TrayPictures::Draw(TrayPictures::TemperaturePicture(temperature, color, fullSize)));
}

Pixels DrawBattery(int32_t seconds, COLORREF color) {
    return Read(TrayPictures::Draw(TrayPictures::BatteryPicture(seconds, color)));
}

TEST(TrayPictures, TemperatureDigitsInTheThrottleColourOverTheChip) {
    const struct { uint8_t temperature; COLORREF color; bool fullSize; } cases[] = {
        {5, kWhite, false}, {45, kWhite, false}, {99, kGreen, false},
        {5, kGreen, true},  {45, kWhite, true},  {99, kWhite, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.temperature) << " full size " << c.fullSize);
        const Pixels p = DrawTemperature(c.temperature, c.color, c.fullSize);
        ASSERT_EQ(p.width, 16);
        ASSERT_EQ(p.height, 16);
        // Two digits and the degree sign: more than a single stroke of the colour.
        EXPECT_GE(p.Count(c.color), 12);
        for (size_t i = 0; i < p.color.size(); ++i) {
            if (p.transparent[i]) {
                EXPECT_EQ(p.color[i], kBlack) << "transparent pixel " << i << " not cleared";
            }
        }
        if (c.fullSize) {
            // No chip: everything that is not a digit is the magenta background.
            EXPECT_EQ(p.Count(c.color), p.Opaque());
        } else {
            // The chip fills the square but for its corners; the digits lie on it.
            EXPECT_TRUE(p.transparent[0] && p.transparent[15] && p.transparent[255]);
            EXPECT_GT(p.Opaque(), 180);
            EXPECT_GT(p.Opaque() - p.Count(c.color), 120);
        }
    }
}

TEST(TrayPictures, DifferentTemperaturesGiveDifferentPictures) {
    for (bool fullSize : {false, true}) {
        const Pixels p05 = DrawTemperature(5, kWhite, fullSize);
        const Pixels p45 = DrawTemperature(45, kWhite, fullSize);
        const Pixels p99 = DrawTemperature(99, kWhite, fullSize);
        EXPECT_FALSE(p05 == p45) << fullSize;
        EXPECT_FALSE(p45 == p99) << fullSize;
        EXPECT_TRUE(p45 == DrawTemperature(45, kWhite, fullSize));
    }
}

// The battery lies in the upper half; the time is written below it.
TEST(TrayPictures, BatteryTimeUnderTheBattery) {
    const COLORREF red = RGB(255, 0, 0);
    const Pixels p45 = DrawBattery(2700, red);
    const Pixels p10h = DrawBattery(36000, red);
    for (const Pixels* p : {&p45, &p10h}) {
        ASSERT_EQ(p->width, 16);
        EXPECT_GT(p->Opaque(0, 7), 70);           // the battery
        EXPECT_EQ(p->Count(red), p->Count(red, 7));  // text only from row 7 on
        EXPECT_GE(p->Count(red, 7), 12);
        EXPECT_EQ(p->Opaque(8), p->Count(red, 8));  // below the battery: only text
    }
    EXPECT_FALSE(p45 == p10h);
}

}  // namespace
