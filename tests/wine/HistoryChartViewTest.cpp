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

int SummaryPixels(const std::vector<uint32_t>& pixels) {
    if (pixels.size() != size_t(kWidth * kHeight))
        return 0;
    int written = 0;
    for (int y = kHeight - 16; y < kHeight - 5; ++y)
        for (int x = 0; x < kWidth - 240; ++x)
            written += pixels[size_t(y) * kWidth + x] != pixels[0];
    return written;
}

// The span's summary line sits on the bottom row, under the legend: its words must
// show there, whatever alignment the drawing before it left in the DC. Painted some
// thousands of times (every tick repaints it), it is still drawn whole: a pen, font or
// bitmap left behind by each paint would have used up the process's GDI objects by
// then (Wine's own counters say nothing of them).
TEST(HistoryChartViewTest, TheSummaryLineShowsAfterThousandsOfPaints) {
    HistoryChartView::RegisterChartClass();
    // Message-only: printed, it needs no place on the screen.
    const HWND chart = CreateWindowExA(0, "vantu.chart", "", WS_CHILD, 0, 0, kWidth, kHeight, HWND_MESSAGE, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(chart) << "error " << GetLastError();
    for (int i = 0; i < 3; ++i)
        modHistory::RecordTick(55, 0, false);
    HistoryChartView::SetSpan(chart, 600);
    const int first = SummaryPixels(Print(chart));
    EXPECT_GT(first, 50) << "no summary line";
    for (int paint = 0; paint < 2000; ++paint)
        Print(chart);
    EXPECT_EQ(SummaryPixels(Print(chart)), first);
    DestroyWindow(chart);
}

// The local clock of an instant under a time-zone rule given as data: Central European
// time, whose summer time starts on the last Sunday of March at 02:00 and ends on the
// last Sunday of October at 03:00 (2026: 29 March and 25 October), and India's, without.
TEST(HistoryChartViewTest, LocalTimeFollowsTheRuleOfItsDate) {
    TIME_ZONE_INFORMATION europe{};
    europe.Bias = -60;
    europe.StandardDate = {0, 10, 0, 5, 3, 0, 0, 0};
    europe.DaylightDate = {0, 3, 0, 5, 2, 0, 0, 0};
    europe.DaylightBias = -60;
    TIME_ZONE_INFORMATION india{};
    india.Bias = -330;
    const int64_t spring = 1774746000, autumn = 1792890000;  // 2026-03-29 01:00 and 2026-10-25 01:00 UTC
    const struct { const TIME_ZONE_INFORMATION* zone; int64_t utc; TickHistory::CivilTime local; int32_t offset; } cases[] = {
        {&europe, spring - 1, {2026, 3, 29, 1, 59, 59}, 3600}, {&europe, spring, {2026, 3, 29, 3, 0, 0}, 7200},
        {&europe, autumn - 1, {2026, 10, 25, 2, 59, 59}, 7200}, {&europe, autumn, {2026, 10, 25, 2, 0, 0}, 3600},
        {&india, spring, {2026, 3, 29, 6, 30, 0}, 19800},
    };
    for (const auto& c : cases) {
        const TickHistory::LocalClock local = modHistory::LocalTime(c.utc, *c.zone);
        EXPECT_EQ(local.Time, c.local) << c.utc;
        EXPECT_EQ(local.Offset, c.offset) << c.utc;
    }
}

}  // namespace
