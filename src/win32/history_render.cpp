// The history's drawing: scale, time axis, the swap band and lines, the memory, the part in
// use, the commit and its limit, the alerts' marks and the analysis lines. Every loop runs over
// columns or marks, never over the records.
#include "win32/history_render.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>

#include "common/device_units.h"
#include "win32/win32_text.h"

namespace corvane::win32 {

namespace {

constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kGrid = RGB(228, 228, 228);
constexpr COLORREF kFrame = RGB(150, 150, 150);
constexpr COLORREF kText = RGB(60, 60, 60);
constexpr COLORREF kBand = RGB(190, 210, 242);
constexpr COLORREF kSwap = RGB(20, 70, 170);
constexpr COLORREF kMemory = RGB(0, 140, 70);
constexpr COLORREF kInUse = RGB(225, 115, 0);
constexpr COLORREF kCommit = RGB(130, 40, 150);
constexpr COLORREF kAlert = RGB(215, 25, 25);
constexpr COLORREF kAlertShade = RGB(252, 226, 226);
constexpr COLORREF kAnalysis[] = {RGB(200, 30, 30), RGB(110, 110, 110), RGB(0, 130, 140)};

int scaled(int pixels, int dpi) {
    return MulDiv(pixels, dpi, 96);
}

class Gdi {
public:
    Gdi() = default;
    Gdi(const Gdi&) = delete;
    Gdi& operator=(const Gdi&) = delete;
    ~Gdi() {
        for (HGDIOBJ object : made_) DeleteObject(object);
    }
    HPEN pen(int style, int width, COLORREF colour) {
        return keep(CreatePen(style, width, colour));
    }
    HBRUSH brush(COLORREF colour) { return keep(CreateSolidBrush(colour)); }

private:
    template <class T>
    T keep(T object) {
        made_.push_back(object);
        return object;
    }
    std::vector<HGDIOBJ> made_;
};

void text(HDC dc, int x, int y, const std::string& utf8, UINT align, COLORREF colour) {
    std::string ansi = toAnsi(utf8);
    SetTextAlign(dc, align);
    SetTextColor(dc, colour);
    TextOutA(dc, x, y, ansi.c_str(), static_cast<int>(ansi.size()));
}

int textWidth(HDC dc, const std::string& utf8) {
    std::string ansi = toAnsi(utf8);
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc, ansi.c_str(), static_cast<int>(ansi.size()), &size);
    return size.cx;
}

struct Scale {
    RECT plot;
    ValueAxis axis;
    int y(int64_t mo) const {
        int64_t height = plot.bottom - 1 - plot.top;
        int64_t span = std::max<int64_t>(1, static_cast<int64_t>(axis.high) - axis.low);
        int64_t offset = (mo - axis.low) * height / span;
        return static_cast<int>(plot.bottom - 1 - std::clamp<int64_t>(offset, -1, height + 1));
    }
};

// One series as runs of a line, broken where a column has no value.
template <class Value>
void drawSeries(HDC dc, const Scale& s, const std::vector<HistoryColumn>& columns, HPEN pen,
                Value value) {
    HGDIOBJ old = SelectObject(dc, pen);
    std::vector<POINT> run;
    run.reserve(columns.size());
    auto flush = [&] {
        if (run.size() == 1) run.push_back({run[0].x + 1, run[0].y});
        if (run.size() > 1) Polyline(dc, run.data(), static_cast<int>(run.size()));
        run.clear();
    };
    for (size_t i = 0; i < columns.size(); ++i) {
        const HistoryColumn& c = columns[i];
        int32_t v = c.hasData ? value(c) : kUnknownMo;
        if (v == kUnknownMo) {
            flush();
            continue;
        }
        run.push_back({s.plot.left + static_cast<int>(i), s.y(v)});
    }
    flush();
    SelectObject(dc, old);
}

// What a drawing holds beyond the swap and the memory, for the legend to name only that.
struct Extras {
    bool commit = false;
    bool limit = false;
    bool alerts = false;
};

constexpr COLORREF kHiddenText = RGB(160, 160, 160);
constexpr COLORREF kHiddenSwatch = RGB(215, 215, 215);

// Two rows: what the left-hand scale measures, then what the right-hand one does. A hidden
// series keeps its entry, greyed, so that a second click brings it back.
std::vector<LegendBox> drawLegend(HDC dc, Gdi& gdi, int left, int top, int lineHeight, int dpi,
                                  const Extras& extras, uint8_t hidden) {
    enum class Swatch { Band, Line, Mark };
    struct Item {
        const char* label;
        COLORREF colour;
        Swatch swatch;
        uint8_t series;
        bool shown;
        int penStyle = PS_SOLID;
    };
    const Item leftItems[] = {{"SWAP mini-maxi", kBand, Swatch::Band, kSeriesBand, true},
                              {"SWAP", kSwap, Swatch::Line, kSeriesSwap, true},
                              {"SWAP utilisé", kInUse, Swatch::Line, kSeriesInUse, true},
                              {"Mini, moyenne et maxi depuis le début de l'analyse", kAnalysis[1],
                               Swatch::Line, kSeriesAnalysis, true, PS_DASH},
                              {"Alerte", kAlert, Swatch::Mark, kSeriesAlerts, extras.alerts}};
    const Item rightItems[] = {
        {"RAM utilisée", kMemory, Swatch::Line, kSeriesMemory, true},
        {"Engagement", kCommit, Swatch::Line, kSeriesCommit, extras.commit},
        {"limite d'engagement", kCommit, Swatch::Line, kSeriesLimit, extras.limit, PS_DOT}};
    std::vector<LegendBox> boxes;
    int swatch = scaled(14, dpi);
    auto row = [&](int y, const char* title, const Item* items, size_t count) {
        int x = left;
        text(dc, x, y, title, TA_LEFT | TA_TOP, kText);
        x += textWidth(dc, title) + scaled(8, dpi);
        for (size_t i = 0; i < count; ++i) {
            const Item& item = items[i];
            if (!item.shown) continue;
            bool off = (hidden & item.series) != 0;
            COLORREF colour = off ? kHiddenSwatch : item.colour;
            int start = x;
            RECT mark{x, y + lineHeight / 2 - scaled(3, dpi), x + swatch,
                      y + lineHeight / 2 + scaled(3, dpi)};
            int middle = (mark.top + mark.bottom) / 2;
            switch (item.swatch) {
                case Swatch::Band: FillRect(dc, &mark, gdi.brush(colour)); break;
                case Swatch::Mark: {
                    RECT tick{x + swatch / 2 - scaled(2, dpi), mark.top - scaled(2, dpi),
                              x + swatch / 2 + scaled(2, dpi), mark.bottom + scaled(2, dpi)};
                    FillRect(dc, &tick, gdi.brush(colour));
                    break;
                }
                case Swatch::Line: {
                    // A styled pen is one pixel wide on every Windows.
                    int width = item.penStyle == PS_SOLID ? scaled(2, dpi) : 1;
                    HGDIOBJ old = SelectObject(dc, gdi.pen(item.penStyle, width, colour));
                    MoveToEx(dc, mark.left, middle, nullptr);
                    LineTo(dc, mark.right, middle);
                    SelectObject(dc, old);
                    break;
                }
            }
            x += swatch + scaled(4, dpi);
            text(dc, x, y, item.label, TA_LEFT | TA_TOP, off ? kHiddenText : kText);
            x += textWidth(dc, item.label);
            // The box takes in the gaps around the entry: a click beside its swatch counts.
            boxes.push_back(
                {{start - scaled(6, dpi), y, x + scaled(6, dpi), y + lineHeight}, item.series});
            x += scaled(12, dpi);
        }
    };
    row(top, "Échelle de gauche :", leftItems, std::size(leftItems));
    row(top + lineHeight + scaled(2, dpi), "Échelle de droite :", rightItems,
        std::size(rightItems));
    return boxes;
}

// A label over whatever is drawn under it: curves, marks and its own dashed line stop at its
// edge, so that it reads at any resolution.
void boxedText(HDC dc, int x, int y, const std::string& utf8, COLORREF colour) {
    std::string ansi = toAnsi(utf8);
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc, ansi.c_str(), static_cast<int>(ansi.size()), &size);
    RECT box{x - size.cx - 2, y, x + 2, y + size.cy};
    SetBkColor(dc, kBackground);
    SetTextColor(dc, colour);
    SetTextAlign(dc, TA_RIGHT | TA_TOP);
    ExtTextOutA(dc, x, y, ETO_OPAQUE, &box, ansi.c_str(), static_cast<UINT>(ansi.size()), nullptr);
}

}  // namespace

RECT plotArea(int width, int height, int dpi) {
    RECT r{scaled(62, dpi), scaled(44, dpi), width - scaled(62, dpi), height - scaled(34, dpi)};
    if (r.right < r.left + 1) r.right = r.left + 1;
    if (r.bottom < r.top + 1) r.bottom = r.top + 1;
    return r;
}

int tickSpacing(int dpi) {
    return scaled(90, dpi);
}

std::vector<LegendBox> renderHistory(HDC dc, SIZE size, int dpi, const HistoryPicture& picture) {
    Gdi gdi;
    RECT all{0, 0, size.cx, size.cy};
    FillRect(dc, &all, gdi.brush(kBackground));
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    int lineHeight = metrics.tmHeight;
    uint8_t hidden = picture.hidden;
    auto shown = [&](uint8_t series) { return (hidden & series) == 0; };

    Scale s{plotArea(size.cx, size.cy, dpi), picture.axis};
    const RECT& plot = s.plot;
    std::optional<Scale> side;
    if (picture.side) side = Scale{plot, *picture.side};

    // The swap file's scale at the left, with its lines; the memory's and the commit's at the
    // right, its values only: two sets of lines would read as one.
    HPEN grid = gdi.pen(PS_SOLID, 1, kGrid);
    HGDIOBJ oldPen = SelectObject(dc, grid);
    for (int64_t v = picture.axis.low; v <= picture.axis.high; v += picture.axis.step) {
        int y = s.y(v);
        MoveToEx(dc, plot.left, y, nullptr);
        LineTo(dc, plot.right, y);
        text(dc, plot.left - scaled(4, dpi), y - lineHeight / 2, std::to_string(v) + " Mo",
             TA_RIGHT | TA_TOP, kText);
    }
    if (side) {
        const ValueAxis& a = side->axis;
        for (int64_t v = a.low; v <= a.high; v += a.step) {
            int y = side->y(v);
            MoveToEx(dc, plot.right, y, nullptr);
            LineTo(dc, plot.right + scaled(3, dpi), y);
            text(dc, plot.right + scaled(5, dpi), y - lineHeight / 2, std::to_string(v) + " Mo",
                 TA_LEFT | TA_TOP, kText);
        }
    }
    // The time axis: marks at round local times, the date under the time where the day changes.
    int columns = std::max<int>(1, static_cast<int>(picture.columns.size()));
    for (const TimeTick& tick : picture.ticks) {
        int64_t column = minuteColumn(picture.span, columns, tick.minute);
        if (column < 0 || column >= plot.right - plot.left) continue;
        int x = plot.left + static_cast<int>(column);
        MoveToEx(dc, x, plot.top, nullptr);
        LineTo(dc, x, plot.bottom + scaled(3, dpi));
        int y = plot.bottom + scaled(4, dpi);
        if (!tick.time.empty()) {
            text(dc, x, y, tick.time, TA_CENTER | TA_TOP, kText);
            y += lineHeight;
        }
        if (!tick.date.empty()) text(dc, x, y, tick.date, TA_CENTER | TA_TOP, kText);
    }
    SelectObject(dc, oldPen);

    // Where an alert was raised: a pale strip behind everything, and a mark on the time axis
    // drawn last, wide enough to be seen where one minute is less than a column.
    Extras extras;
    HBRUSH shade = gdi.brush(kAlertShade);
    for (size_t i = 0; i < picture.columns.size(); ++i) {
        const HistoryColumn& c = picture.columns[i];
        extras.commit = extras.commit || c.commitMo != kUnknownMo;
        extras.limit = extras.limit || c.commitLimitMo != kUnknownMo;
        if (c.alerts == 0) continue;
        extras.alerts = true;
        if (!shown(kSeriesAlerts)) continue;
        int x = plot.left + static_cast<int>(i);
        RECT r{x, plot.top, x + 1, plot.bottom};
        FillRect(dc, &r, shade);
    }

    // The swap band: from the smallest to the largest size of each column.
    if (shown(kSeriesBand)) {
        HBRUSH band = gdi.brush(kBand);
        for (size_t i = 0; i < picture.columns.size(); ++i) {
            const HistoryColumn& c = picture.columns[i];
            if (!c.hasData) continue;
            int x = plot.left + static_cast<int>(i);
            RECT r{x, s.y(c.maxMo), x + 1, s.y(c.minMo) + 1};
            FillRect(dc, &r, band);
        }
    }
    int thick = std::max(1, scaled(2, dpi) - 1);
    // The right-hand series first: the swap file's own lines stay on top.
    if (side) {
        if (shown(kSeriesMemory))
            drawSeries(dc, *side, picture.columns, gdi.pen(PS_SOLID, thick, kMemory),
                       [](const HistoryColumn& c) { return c.memoryMo; });
        if (shown(kSeriesCommit))
            drawSeries(dc, *side, picture.columns, gdi.pen(PS_SOLID, thick, kCommit),
                       [](const HistoryColumn& c) { return c.commitMo; });
        // The limit only where it falls inside the scale: the scale takes it in only where
        // the commit came near it.
        const ValueAxis& axis = side->axis;
        if (shown(kSeriesLimit))
            drawSeries(dc, *side, picture.columns, gdi.pen(PS_DOT, 1, kCommit),
                       [&](const HistoryColumn& c) {
                           bool inside =
                               c.commitLimitMo != kUnknownMo && c.commitLimitMo <= axis.high;
                           return inside ? c.commitLimitMo : kUnknownMo;
                       });
    }
    if (shown(kSeriesInUse))
        drawSeries(dc, s, picture.columns, gdi.pen(PS_SOLID, thick, kInUse),
                   [](const HistoryColumn& c) { return c.inUseMo; });
    if (shown(kSeriesSwap))
        drawSeries(dc, s, picture.columns, gdi.pen(PS_SOLID, thick, kSwap),
                   [](const HistoryColumn& c) { return c.lastMo; });
    if (extras.alerts && shown(kSeriesAlerts)) {
        HBRUSH alert = gdi.brush(kAlert);
        int half = scaled(1, dpi);
        int top = plot.bottom - scaled(7, dpi);
        for (size_t i = 0; i < picture.columns.size(); ++i) {
            if (picture.columns[i].alerts == 0) continue;
            int x = plot.left + static_cast<int>(i);
            RECT r{std::max<int>(plot.left, x - half), top, std::min<int>(plot.right, x + half + 1),
                   plot.bottom};
            FillRect(dc, &r, alert);
        }
    }

    // The analysis: dashed lines (a dashed pen is one pixel wide on every Windows), each with
    // its value at the right end: Maxi above its line, the others below theirs. Labels of close
    // values (they come largest first) are pushed apart, and all stay inside the plot. They are
    // drawn last, on their own background: no curve or mark crosses them.
    if (shown(kSeriesAnalysis)) {
        size_t lines = picture.analysis.size();
        std::vector<int> lineY(lines);
        std::vector<int> labelY(lines);
        int next = plot.top;
        for (size_t i = 0; i < lines; ++i) {
            lineY[i] = s.y(picture.analysis[i].valueMo);
            labelY[i] = std::max(i == 0 ? lineY[i] - lineHeight : lineY[i] + 1, next);
            next = labelY[i] + lineHeight;
        }
        int limit = plot.bottom - lineHeight;
        for (size_t i = lines; i-- > 0;) {
            labelY[i] = std::min(labelY[i], limit);
            limit = labelY[i] - lineHeight;
        }
        for (size_t i = 0; i < lines; ++i) {
            COLORREF colour = kAnalysis[std::min<size_t>(i, 2)];
            HGDIOBJ old = SelectObject(dc, gdi.pen(PS_DASH, 1, colour));
            MoveToEx(dc, plot.left, lineY[i], nullptr);
            LineTo(dc, plot.right, lineY[i]);
            SelectObject(dc, old);
        }
        for (size_t i = 0; i < lines; ++i) {
            boxedText(dc, plot.right - scaled(4, dpi), labelY[i], picture.analysis[i].label,
                      kAnalysis[std::min<size_t>(i, 2)]);
        }
        SetBkMode(dc, TRANSPARENT);
    }

    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    oldPen = SelectObject(dc, gdi.pen(PS_SOLID, 1, kFrame));
    Rectangle(dc, plot.left - 1, plot.top - 1, plot.right + 1, plot.bottom + 1);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);

    std::vector<LegendBox> boxes =
        drawLegend(dc, gdi, scaled(6, dpi), scaled(3, dpi), lineHeight, dpi, extras, hidden);
    if (!picture.anyData) {
        text(dc, (plot.left + plot.right) / 2, (plot.top + plot.bottom) / 2 - lineHeight / 2,
             kNoRecordText, TA_CENTER | TA_TOP, kText);
    }
    SelectObject(dc, oldFont);
    return boxes;
}

void drawHistoryToMemoryDc(System& system, const std::vector<MinuteRecord>& records,
                           const AnalysisFigures& analysis, HistoryRange range, int32_t nowMinute,
                           int width, int height) {
    drawHistoryToMemoryDc(system, {}, records, analysis, range, nowMinute, width, height);
}

void drawHistoryToMemoryDc(System& system, const std::vector<MinuteRecord>& hours,
                           const std::vector<MinuteRecord>& records,
                           const AnalysisFigures& analysis, HistoryRange range, int32_t nowMinute,
                           int width, int height) {
    HDC screen = GetDC(nullptr);
    int dpi = usableDpi(GetDeviceCaps(screen, LOGPIXELSX));
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT plot = plotArea(width, height, dpi);
    HistoryPicture picture = layoutHistory(hours, records, analysis, range, nowMinute,
                                           plot.right - plot.left, tickSpacing(dpi), system);
    renderHistory(dc, {width, height}, dpi, picture);
    GdiFlush();
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

}  // namespace corvane::win32
