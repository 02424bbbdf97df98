// The history window: its controls, their layout as it is resized, the drawing painted off
// screen and copied, and the pointer's values. Messages are decoded into calls of the core.
#include "win32/history_view.h"

#include <algorithm>
#include <exception>

#include "history/utc_minutes.h"
#include "program/recording.h"
#include "win32/function_lookup.h"
#include "win32/history_render.h"
#include "win32/resource.h"
#include "win32/win32_text.h"
#include "win32/window_procedure.h"
#include "win32/window_text.h"

namespace corvane::win32 {

namespace {

constexpr const char* kCaption = "Historique du fichier SWAP";
constexpr const char* kHoverHint = "Placez le pointeur sur le graphique pour y lire les valeurs.";
constexpr COLORREF kNoticeColour = RGB(170, 0, 0);

HistoryControl buttonFor(size_t index) {
    return static_cast<HistoryControl>(static_cast<int>(HistoryControl::hour) +
                                       static_cast<int>(index));
}

void setText(HWND control, const std::string& utf8) {
    setWindowText(control, utf8);
}

// The height the text of `control` (a static control that breaks its lines) takes at `width`.
int textHeight(HWND control, int width) {
    if (!control) return 0;
    std::string text = windowText(control);
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT r{0, 0, std::max(width, 1), 0};
    drawText(dc, text, &r, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return r.bottom - r.top;
}

// The mouse leaving the drawing is told where Windows can tell it (98, NT 4 and later).
void trackLeave(HWND hwnd) {
    static const auto track = CORVANE_PROCEDURE("user32.dll", TrackMouseEvent);
    if (!track) return;
    TRACKMOUSEEVENT event{sizeof event, TME_LEAVE, hwnd, 0};
    track(&event);
}

}  // namespace

Win32HistoryView::Win32HistoryView(HINSTANCE instance, const Metrics& metrics, System& system,
                                   FileSystem& files, Dialogs& dialogs)
    : instance_(instance), metrics_(metrics), system_(system), files_(files), dialogs_(dialogs) {}

Win32HistoryView::~Win32HistoryView() {
    // The core may be gone already: the window goes without telling it.
    history_ = nullptr;
    if (hwnd_) DestroyWindow(hwnd_);
    if (buffer_) DeleteObject(buffer_);
    if (noticeBrush_) DeleteObject(noticeBrush_);
}

void Win32HistoryView::registerClasses(HINSTANCE instance) {
    registerWindowClass(instance, kHistoryWindowClass,
                        windowProcedure<Win32HistoryView, &Win32HistoryView::onMessage>,
                        {.programIcon = true});
    registerWindowClass(instance, kHistoryPlotClass,
                        windowProcedure<Win32HistoryView, &Win32HistoryView::onPlotMessage>,
                        {.cursor = IDC_CROSS, .buttonFace = false});
}

void Win32HistoryView::open(History& history) {
    if (bringForward(hwnd_)) return;
    history_ = &history;
    makeWindow(0, kHistoryWindowClass, kCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
               CW_USEDEFAULT, CW_USEDEFAULT, metrics_.x(12300), metrics_.y(7200), nullptr, nullptr,
               instance_, this);
    if (!hwnd_) {
        history_ = nullptr;
        throw RuntimeError(kErrOutOfMemory);
    }
    createControls();
    history.attach(this);
    dirty_ = true;
    showNotice();
    layoutControls();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
    for (size_t i = 0; i < kHistoryRanges.size(); ++i) {
        if (kHistoryRanges[i].range == range_) SetFocus(control(buttonFor(i)));
    }
}

void Win32HistoryView::refresh() {
    if (!hwnd_) return;
    dirty_ = true;
    showNotice();
    InvalidateRect(plot_, nullptr, FALSE);
}

HWND Win32HistoryView::control(HistoryControl id) const {
    return hwnd_ ? GetDlgItem(hwnd_, static_cast<int>(id)) : nullptr;
}

void Win32HistoryView::createControls() {
    auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    auto make = [&](const char* cls, const std::string& text, DWORD style, HistoryControl id,
                    void* param = nullptr) {
        HWND hwnd = makeWindow(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, param);
        SendMessageA(hwnd, WM_SETFONT, font, FALSE);
        return hwnd;
    };
    for (size_t i = 0; i < kHistoryRanges.size(); ++i) {
        DWORD style = BS_AUTORADIOBUTTON | BS_PUSHLIKE | WS_TABSTOP | (i == 0 ? WS_GROUP : 0);
        HWND button = make("BUTTON", kHistoryRanges[i].label, style, buttonFor(i));
        if (kHistoryRanges[i].range == range_) SendMessageA(button, BM_SETCHECK, BST_CHECKED, 0);
    }
    make("BUTTON", "&Exporter...", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP,
         HistoryControl::exportButton);
    plot_ = make(kHistoryPlotClass, "", 0, HistoryControl::graph, this);
    make("STATIC", kHoverHint, SS_LEFT | SS_NOPREFIX, HistoryControl::pointerReading);
    make("STATIC", "", SS_LEFT | SS_NOPREFIX, HistoryControl::notice);
}

void Win32HistoryView::layoutControls() {
    if (!hwnd_) return;
    RECT c;
    GetClientRect(hwnd_, &c);
    int dpi = metrics_.dpiX();
    auto px = [&](int n) { return MulDiv(n, dpi, 96); };
    int margin = px(6), buttonHeight = px(24), buttonWidth = px(52), gap = px(4), line = px(16);
    int x = margin;
    for (size_t i = 0; i < kHistoryRanges.size(); ++i) {
        MoveWindow(control(buttonFor(i)), x, margin, buttonWidth, buttonHeight, TRUE);
        x += buttonWidth + gap;
    }
    int exportWidth = px(96);
    MoveWindow(control(HistoryControl::exportButton),
               std::max<int>(x + gap, c.right - margin - exportWidth), margin, exportWidth,
               buttonHeight, TRUE);
    HWND notice = control(HistoryControl::notice);
    // Three lines: a notice names the history's files in full, and a folder may be deep.
    int noticeHeight = IsWindowVisible(notice) ? 3 * line : 0;
    // The values under the pointer: room for their three lines (figures, alerts, programs) at
    // least, and more where a narrow window breaks them.
    HWND survol = control(HistoryControl::pointerReading);
    int hoverWidth = std::max(1, static_cast<int>(c.right) - 2 * margin);
    hoverHeight_ = std::max(3 * line, textHeight(survol, hoverWidth));
    int hoverTop = c.bottom - margin - hoverHeight_;
    MoveWindow(survol, margin, hoverTop, hoverWidth, hoverHeight_, TRUE);
    int noticeTop = hoverTop - noticeHeight;
    MoveWindow(notice, margin, noticeTop, c.right - 2 * margin, noticeHeight, TRUE);
    int plotTop = margin + buttonHeight + margin;
    int plotBottom = std::max(plotTop + 1, noticeTop - gap);
    MoveWindow(plot_, margin, plotTop, std::max(1, static_cast<int>(c.right) - 2 * margin),
               plotBottom - plotTop, TRUE);
    dirty_ = true;
    InvalidateRect(plot_, nullptr, FALSE);
}

void Win32HistoryView::showNotice() {
    if (!hwnd_ || !history_) return;
    std::string notice = historyNotice(*history_);
    HWND avis = control(HistoryControl::notice);
    bool wasVisible = IsWindowVisible(avis) != FALSE;
    setText(avis, notice);
    ShowWindow(avis, notice.empty() ? SW_HIDE : SW_SHOWNA);
    if (wasVisible != !notice.empty()) layoutControls();
}

void Win32HistoryView::choose(HistoryRange range) {
    if (range == range_) return;
    range_ = range;
    hoverColumn_ = -1;
    setText(control(HistoryControl::pointerReading), kHoverHint);
    dirty_ = true;
    InvalidateRect(plot_, nullptr, FALSE);
}

void Win32HistoryView::renderIfNeeded() {
    if (!history_ || !plot_) return;
    RECT client;
    GetClientRect(plot_, &client);
    SIZE size{client.right, client.bottom};
    if (size.cx <= 0 || size.cy <= 0) return;
    HDC windowDc = GetDC(plot_);
    if (!buffer_ || size.cx != bufferSize_.cx || size.cy != bufferSize_.cy) {
        if (buffer_) DeleteObject(buffer_);
        buffer_ = CreateCompatibleBitmap(windowDc, size.cx, size.cy);
        bufferSize_ = size;
        dirty_ = true;
    }
    // The picture is laid out even where no bitmap could be had for it (a system short of GDI
    // memory): the values under the pointer are read from the layout, not from the pixels.
    if (dirty_) {
        int dpi = metrics_.dpiX();
        plotRect_ = plotArea(size.cx, size.cy, dpi);
        const std::vector<MinuteRecord>& records = history_->records();
        int32_t now =
            minuteOf(system_.utcNow()).value_or(records.empty() ? 0 : records.back().minute);
        // The span reads what start-up left in the files, once.
        history_->load(files_, firstMinuteNeeded(range_, now));
        picture_ =
            layoutHistory(history_->hours(), history_->records(), history_->analysis(), range_, now,
                          plotRect_.right - plotRect_.left, tickSpacing(dpi), system_, hidden_);
        if (buffer_) {
            HDC memory = CreateCompatibleDC(windowDc);
            HGDIOBJ old = SelectObject(memory, buffer_);
            legend_ = renderHistory(memory, size, dpi, picture_);
            SelectObject(memory, old);
            DeleteDC(memory);
            dirty_ = false;
        }
    }
    ReleaseDC(plot_, windowDc);
}

void Win32HistoryView::paintPlot() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(plot_, &ps);
    renderIfNeeded();
    if (buffer_) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, buffer_);
        BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, memory, ps.rcPaint.left, ps.rcPaint.top,
               SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    if (hoverColumn_ >= 0) {
        // The pointer's column, drawn over the copy: moving the pointer repaints two strips.
        HPEN pen = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
        HGDIOBJ old = SelectObject(dc, pen);
        int x = plotRect_.left + hoverColumn_;
        MoveToEx(dc, x, plotRect_.top, nullptr);
        LineTo(dc, x, plotRect_.bottom);
        SelectObject(dc, old);
        DeleteObject(pen);
    }
    EndPaint(plot_, &ps);
}

void Win32HistoryView::hover(int x, int y) {
    if (!history_) return;
    int columns = static_cast<int>(picture_.columns.size());
    int column = x - plotRect_.left;
    bool inside = column >= 0 && column < columns && y >= plotRect_.top && y < plotRect_.bottom;
    if (!inside) column = -1;
    if (column == hoverColumn_) return;
    auto strip = [&](int c) {
        RECT r{plotRect_.left + c, plotRect_.top, plotRect_.left + c + 1, plotRect_.bottom};
        InvalidateRect(plot_, &r, FALSE);
    };
    if (hoverColumn_ >= 0) strip(hoverColumn_);
    hoverColumn_ = column;
    if (column < 0) {
        setText(control(HistoryControl::pointerReading), kHoverHint);
        return;
    }
    strip(column);
    HWND survol = control(HistoryControl::pointerReading);
    setText(survol, hoverText(picture_.columns[static_cast<size_t>(column)],
                              columnMinute(picture_.span, columns, column), system_));
    RECT room;
    GetClientRect(survol, &room);
    // Grown only, never shrunk under the pointer: the drawing would move under it.
    if (textHeight(survol, room.right) > hoverHeight_) layoutControls();
}

void Win32HistoryView::toggleSeries(int x, int y) {
    for (const LegendBox& box : legend_) {
        POINT at{x, y};
        if (!PtInRect(&box.rect, at)) continue;
        hidden_ ^= box.series;
        dirty_ = true;
        InvalidateRect(plot_, nullptr, FALSE);
        return;
    }
}

LRESULT Win32HistoryView::onMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) hwnd_ = hwnd;
    if (hwnd_ != hwnd) return defaultProcedure(hwnd, message, wParam, lParam);
    return handle(message, wParam, lParam);
}

LRESULT Win32HistoryView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE: layoutControls(); return 0;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize = {metrics_.x(6000), metrics_.y(4000)};
            return 0;
        }
        case WM_COMMAND: {
            int id = LOWORD(wParam);
            // Escape, from the message loop's dialog keys.
            if (id == IDCANCEL && lParam == 0) {
                PostMessageA(hwnd_, WM_CLOSE, 0, 0);
                return 0;
            }
            if (HIWORD(wParam) != BN_CLICKED) break;
            for (size_t i = 0; i < kHistoryRanges.size(); ++i) {
                if (id == static_cast<int>(buttonFor(i))) {
                    choose(kHistoryRanges[i].range);
                    return 0;
                }
            }
            if (id == static_cast<int>(HistoryControl::exportButton) && history_) {
                exportHistory(system_, dialogs_, files_, *history_);
                return 0;
            }
            break;
        }
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == control(HistoryControl::notice)) {
                HDC dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, kNoticeColour);
                SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
                if (!noticeBrush_) noticeBrush_ = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<LRESULT>(noticeBrush_);
            }
            break;
        case WM_DESTROY: {
            if (history_) history_->detach(this);
            HWND hwnd = hwnd_;
            hwnd_ = nullptr;
            plot_ = nullptr;
            hoverColumn_ = -1;
            picture_ = {};
            return defaultProcedure(hwnd, message, wParam, lParam);
        }
        default: break;
    }
    return defaultProcedure(hwnd_, message, wParam, lParam);
}

LRESULT Win32HistoryView::onPlotMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!hwnd_) return defaultProcedure(hwnd, message, wParam, lParam);
    if (!plot_) plot_ = hwnd;
    return handlePlot(message, wParam, lParam);
}

LRESULT Win32HistoryView::handlePlot(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: paintPlot(); return 0;
        case WM_SIZE: dirty_ = true; return 0;
        case WM_MOUSEMOVE:
            if (!tracking_) {
                trackLeave(plot_);
                tracking_ = true;
            }
            hover(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            return 0;
        case WM_LBUTTONDOWN:
            toggleSeries(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            return 0;
        case WM_MOUSELEAVE:
            tracking_ = false;
            hover(-1, -1);
            return 0;
        default: break;
    }
    return defaultProcedure(plot_, message, wParam, lParam);
}

}  // namespace corvane::win32
