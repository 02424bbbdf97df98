// Drawing the history with GDI: a picture worked out by the core, painted into any DC.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "history/history_plot.h"

namespace corvane::win32 {

// The plot's place inside a drawing of `width` x `height` pixels, leaving room for the scale,
// the time axis and the legend; `dpi` scales the margins.
RECT plotArea(int width, int height, int dpi);
// The least distance between two marks of the time axis, in pixels.
int tickSpacing(int dpi);

// An entry of the legend where a click hides or shows its series (HistorySeries bits).
struct LegendBox {
    RECT rect;
    uint8_t series;
};

// Paints `picture` over the whole of `size` in `dc` (a memory DC: nothing is shown until it is
// copied to the screen); returns where the legend's entries were drawn.
std::vector<LegendBox> renderHistory(HDC dc, SIZE size, int dpi, const HistoryPicture& picture);

// One full drawing, from the records to the pixels, into a memory DC of `width` x `height`,
// which is then let go: what a benchmark times.
void drawHistoryToMemoryDc(System& system, const std::vector<MinuteRecord>& records,
                           const AnalysisFigures& analysis, HistoryRange range, int32_t nowMinute,
                           int width, int height);
// The same from hours before the minutes.
void drawHistoryToMemoryDc(System& system, const std::vector<MinuteRecord>& hours,
                           const std::vector<MinuteRecord>& records,
                           const AnalysisFigures& analysis, HistoryRange range, int32_t nowMinute,
                           int width, int height);

}  // namespace corvane::win32
