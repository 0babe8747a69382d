// The history window's chart control drawn into a bitmap of the test's, as a window
// printing it would, and read back.
#include "app/HistoryChartView.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/modHistory.h"

namespace {

constexpr int kWidth = 540, kHeight = 300;

// The control's client area as drawn for WM_PRINTCLIENT, row by row (0x00RRGGBB).
std::vector<uint32_t> Print(HWND chart) {
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HDC dc = CreateCompatibleDC(nullptr);
    std::vector<uint32_t> pixels;
    if (bitmap && dc) {
        const HGDIOBJ old = SelectObject(dc, bitmap);
        SendMessageA(chart, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        GdiFlush();
        pixels.assign(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + kWidth * kHeight);
        SelectObject(dc, old);
    }
    DeleteDC(dc);
    DeleteObject(bitmap);
    return pixels;
}

// The span's summary line sits on the bottom row, under the legend: its words must
// show there, whatever alignment the drawing before it left in the DC.
TEST(HistoryChartViewTest, TheSummaryLineShowsUnderTheLegend) {
    HistoryChartView::RegisterChartClass();
    // Message-only: printed, it needs no place on the screen.
    const HWND chart = CreateWindowExA(0, "vantu.chart", "", WS_CHILD, 0, 0, kWidth, kHeight, HWND_MESSAGE, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(chart) << "error " << GetLastError();
    for (int i = 0; i < 3; ++i)
        modHistory::RecordTick(55);
    HistoryChartView::SetSpan(chart, 600);
    const std::vector<uint32_t> pixels = Print(chart);
    DestroyWindow(chart);
    ASSERT_EQ(pixels.size(), size_t(kWidth * kHeight));
    const uint32_t background = pixels[0];
    // Below the legend; the left part, which a short summary fills too.
    int written = 0;
    for (int y = kHeight - 16; y < kHeight - 5; ++y)
        for (int x = 0; x < kWidth - 240; ++x)
            written += pixels[size_t(y) * kWidth + x] != background;
    EXPECT_GT(written, 50) << "no summary line";
}

}  // namespace
