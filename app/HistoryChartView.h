#pragma once
// The history window's chart control (window class "vantu.chart"): the temperature,
// the fan band, battery shading and the thresholds of a span of the recorded ticks,
// with the span's summary line under them, drawn off-screen and copied in one go.
#include <windows.h>

#include <cstdint>

namespace HistoryChartView {

// Once, before a dialog that holds the control is created.
void RegisterChartClass();

// The span the chart shows, in seconds up to now; redraws it.
void SetSpan(HWND chart, int64_t seconds);

}  // namespace HistoryChartView
