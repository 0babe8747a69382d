#include "app/HistoryChartView.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/FanProfile.h"
#include "app/HistoryChart.h"
#include "app/modHistory.h"
#include "settings/modSettings.h"
#include "system/GdiHandles.h"

namespace HistoryChartView {

namespace {

constexpr char kClassName[] = "vantu.chart";
constexpr int64_t kDefaultSpan = 3600;
constexpr int kBandHeight = 8;
constexpr int64_t kShortestGap = 15;  // seconds: a tick may come late while the EC is busy

constexpr COLORREF kFrame = RGB(160, 160, 160), kGrid = RGB(225, 225, 225);
constexpr COLORREF kBattery = RGB(255, 240, 200), kThreshold = RGB(0, 120, 200);
constexpr COLORREF kTemperature = RGB(200, 0, 0), kFanOff = RGB(235, 235, 235);
constexpr COLORREF kFanSlow = RGB(120, 180, 240), kFanAuto = RGB(20, 90, 200);

void Fill(HDC dc, RECT area, COLORREF color) {
    SetBkColor(dc, color);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);  // a fill without a brush
}

void Text(HDC dc, int x, int y, const std::wstring& text, UINT align) {
    SetTextAlign(dc, align);
    TextOutW(dc, x, y, text.c_str(), int(text.size()));
}

int TextWidth(HDC dc, const std::wstring& text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    return size.cx;
}

// Ticks further apart than three timer periods were not one run of the program.
int64_t GapSeconds() {
    return std::max<int64_t>(kShortestGap, 3 * int64_t(std::max(modSettings::Settings.TimerInterval, 0)) / 1000);
}

// The thresholds of a power source's profile as set now, where its mode is custom.
std::vector<int16_t> Thresholds(FanProfile::PowerSource source) {
    const FanProfile::Profile profile = FanProfile::ForSource(modSettings::Settings, source);
    constexpr int16_t kCustom = 3;
    if (profile.Control != kCustom)
        return {};
    return {profile.Thresholds.Stop, profile.Thresholds.Slow, profile.Thresholds.Auto};
}

// A small coloured square and its word, right-aligned at `right`; the new right edge.
int Legend(HDC dc, int right, int y, int size, COLORREF color, const wchar_t* word) {
    const int width = TextWidth(dc, word);
    Text(dc, right, y, word, TA_RIGHT | TA_TOP);
    const int box = right - width - size - 4;
    Fill(dc, {box, y + 2, box + size - 4, y + size - 2}, color);
    return box - 12;
}

void Draw(HDC dc, const RECT& client, HFONT font, int64_t span) {
    Fill(dc, client, GetSysColor(COLOR_WINDOW));
    const Gdi::Selection fontChoice(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int line = metrics.tmHeight;
    const int labels = TextWidth(dc, L"100") + 8;
    const HistoryChart::Rect plot{labels, line / 2 + 2, int(client.right) - 12,
                                  int(client.bottom) - 3 * line - kBandHeight - 20};
    if (plot.Right - plot.Left < 20 || plot.Bottom - plot.Top < 20)
        return;  // too small to show anything readable

    const TickHistory::Ring& ticks = modHistory::Ticks();
    const int64_t now = modHistory::Now();
    const HistoryChart::Chart chart =
        HistoryChart::Layout(ticks,
                             {span, now, GapSeconds(),
                              {Thresholds(FanProfile::PowerSource::Mains), Thresholds(FanProfile::PowerSource::Battery)},
                              modHistory::LocalTimeNow()},
                             plot);

    for (const auto& run : chart.Battery)
        Fill(dc, {run.From, plot.Top, run.To, plot.Bottom}, kBattery);
    for (const auto& mark : chart.TemperatureMarks) {
        Fill(dc, {plot.Left, mark.At, plot.Right, mark.At + 1}, kGrid);
        Text(dc, plot.Left - 4, mark.At - line / 2, mark.Label, TA_RIGHT | TA_TOP);
    }
    {
        const Gdi::Object pen(CreatePen(PS_DOT, 1, kThreshold));
        const Gdi::Selection penChoice(dc, pen.get());
        SetTextColor(dc, kThreshold);
        for (const auto& threshold : chart.Thresholds) {
            MoveToEx(dc, threshold.From, threshold.At, nullptr);
            LineTo(dc, threshold.To, threshold.At);
            const std::wstring label = threshold.Label + L"\u00B0";
            if (threshold.To - threshold.From > TextWidth(dc, label) + 4)  // a stretch too short goes unlabelled
                Text(dc, threshold.To - 2, threshold.At - line, label, TA_RIGHT | TA_TOP);
        }
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    }
    {
        const Gdi::Object pen(CreatePen(PS_SOLID, 2, kTemperature));
        const Gdi::Selection penChoice(dc, pen.get());
        for (const auto& points : chart.Lines) {
            if (points.size() == 1) {  // a reading between gaps is a dot
                Fill(dc, {points[0].X - 1, points[0].Y - 1, points[0].X + 1, points[0].Y + 1}, kTemperature);
                continue;
            }
            std::vector<POINT> polyline;
            polyline.reserve(points.size());
            for (const auto& point : points)
                polyline.push_back({point.X, point.Y});
            Polyline(dc, polyline.data(), int(polyline.size()));
        }
    }
    // Where the wall clock was set: a break across the plot, labelled at its top.
    for (const auto& clockBreak : chart.ClockBreaks) {
        Fill(dc, {clockBreak.At, plot.Top, clockBreak.At + 1, plot.Bottom}, kFrame);
        Text(dc, clockBreak.At + 2, plot.Top, clockBreak.Label, TA_LEFT | TA_TOP);
    }
    const RECT frame{plot.Left, plot.Top, plot.Right + 1, plot.Bottom + 1};
    FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));

    const int bandTop = plot.Bottom + 3;
    Fill(dc, {plot.Left, bandTop, plot.Right, bandTop + kBandHeight}, kFanOff);
    for (const auto& run : chart.Fan)
        Fill(dc, {run.From, bandTop, run.To, bandTop + kBandHeight},
             run.Fan == TickHistory::FanState::Slow ? kFanSlow : kFanAuto);
    const int timeTop = bandTop + kBandHeight + 2;
    for (const auto& mark : chart.TimeMarks) {
        Fill(dc, {mark.At, bandTop + kBandHeight, mark.At + 1, timeTop}, kFrame);
        Text(dc, mark.At, timeTop, mark.Label, TA_CENTER | TA_TOP);
    }

    // The legend on a line of its own: the summary below it has the whole width.
    const int legendTop = timeTop + line + 4, summaryTop = legendTop + line + 2;
    int right = Legend(dc, int(client.right) - 12, legendTop, line, kFanAuto, L"fan auto");
    right = Legend(dc, right, legendTop, line, kFanSlow, L"fan slow");
    Legend(dc, right, legendTop, line, kBattery, L"on battery");
    const std::wstring summary = TickHistory::SummaryText(TickHistory::StatisticsSince(ticks, now - span));
    RECT summaryArea{plot.Left, summaryTop, plot.Right, summaryTop + line};
    SetTextAlign(dc, TA_LEFT | TA_TOP);  // DrawText places its text by the DC's alignment
    DrawTextW(dc, summary.c_str(), int(summary.size()), &summaryArea, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS);
}

// Drawn into a bitmap first and copied in one go: no flicker, however often it is drawn.
void Render(HWND hwnd, HDC dc) {
    RECT client{};
    GetClientRect(hwnd, &client);
    const Gdi::MemoryDc memory(CreateCompatibleDC(dc));
    const Gdi::Object bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
    if (memory && bitmap) {
        const Gdi::Selection bitmapChoice(memory.get(), bitmap.get());
        const auto font = reinterpret_cast<HFONT>(SendMessageA(GetParent(hwnd), WM_GETFONT, 0, 0));
        const auto span = GetWindowLongPtrA(hwnd, GWLP_USERDATA);
        Draw(memory.get(), client, font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)),
             span > 0 ? span : kDefaultSpan);
        BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
    }
}

LRESULT CALLBACK ChartProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            Render(hwnd, BeginPaint(hwnd, &paint));
            EndPaint(hwnd, &paint);
            return 0;
        }
        case WM_PRINTCLIENT: Render(hwnd, reinterpret_cast<HDC>(wParam)); return 0;  // drawn into another's DC
        case WM_ERASEBKGND: return 1;  // the paint covers every pixel
        case WM_SIZE: InvalidateRect(hwnd, nullptr, FALSE); return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

void RegisterChartClass() {
    WNDCLASSA windowClass{};
    if (GetClassInfoA(GetModuleHandleA(nullptr), kClassName, &windowClass))
        return;
    windowClass.lpfnWndProc = ChartProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
}

void SetSpan(HWND chart, int64_t seconds) {
    SetWindowLongPtrA(chart, GWLP_USERDATA, LONG_PTR(seconds));
    InvalidateRect(chart, nullptr, FALSE);
}

}  // namespace HistoryChartView
