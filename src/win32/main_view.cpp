// The main window: its controls made from the layout table, its messages turned into calls of
// the core's handlers, and what the core asks of it.
#include "win32/main_view.h"

#include <commctrl.h>

#include <algorithm>

#include "common/device_units.h"
#include "win32/notification_area_win32.h"
#include "win32/resource.h"
#include "win32/win32_text.h"
#include "win32/window_procedure.h"
#include "win32/window_text.h"

namespace corvane::win32 {

namespace {

// Posted once the window is shown; the notification area's own message is WM_APP + 1.
constexpr UINT kShownMessage = WM_APP + 2;

constexpr DWORD kMainStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// The frame `cadre` is a container: it paints an etched box with its caption, and hands its
// controls' notifications on to the main window.
// Its window data holds its font, not an object: the one policy wraps it as a plain function
// (its painting allocates the caption's text).
LRESULT frameMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETFONT:
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
            if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT: return GetWindowLongPtrA(hwnd, GWLP_USERDATA);
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(hwnd, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_PAINT: {
            // Read before the painting begins: memory running out there leaves no paint open.
            std::string text = windowText(hwnd);
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            auto font = reinterpret_cast<HFONT>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
            HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
            SIZE extent = textExtent(dc, text);
            RECT box;
            GetClientRect(hwnd, &box);
            box.top += extent.cy / 2;
            DrawEdge(dc, &box, EDGE_ETCHED, BF_RECT);
            if (!text.empty()) {
                int left = MulDiv(8, usableDpi(GetDeviceCaps(dc, LOGPIXELSX)), kStandardDpi);
                SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
                SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
                SetBkMode(dc, OPAQUE);
                RECT textRect{left, 0, left + extent.cx + 4, extent.cy};
                drawTextLine(dc, left + 2, 0, ETO_OPAQUE, &textRect, text);
            }
            SelectObject(dc, old);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_SETTEXT: {
            LRESULT result = defaultProcedure(hwnd, message, wParam, lParam);
            InvalidateRect(hwnd, nullptr, TRUE);
            return result;
        }
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: return SendMessageA(GetParent(hwnd), message, wParam, lParam);
        default: return defaultProcedure(hwnd, message, wParam, lParam);
    }
}

}  // namespace

void Win32MainView::registerClasses(HINSTANCE instance) {
    registerWindowClass(instance, kMainWindowClass,
                        windowProcedure<Win32MainView, &Win32MainView::onMessage>,
                        {.programIcon = true});
    registerWindowClass(instance, kFrameClass, guardedProcedure<frameMessage>,
                        {.buttonFace = false});
}

// ---- The main window ----

Win32MainView::Win32MainView(HINSTANCE instance, const Metrics& metrics, Win32DbView& db,
                             OwnerWindow& owner)
    : instance_(instance), metrics_(metrics), db_(db), owner_(owner) {}

Win32MainView::~Win32MainView() {
    for (HFONT font : fonts_) DeleteObject(font);
}

LRESULT Win32MainView::onMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        hwnd_ = hwnd;
        owner_.set(hwnd);
    }
    if (!core_) return defaultProcedure(hwnd, message, wParam, lParam);
    return handle(message, wParam, lParam);
}

LRESULT Win32MainView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = hwnd_;
    if (notification_ && notification_->onMessage(message, wParam, lParam)) return 0;
    switch (message) {
        case WM_TIMER: core_->onTimer(static_cast<TimerId>(wParam)); return 0;
        case kShownMessage: core_->onShown(); return 0;
        case WM_COMMAND:
            if (lParam == 0) {  // a menu item or an accelerator
                // The menu's numbers are MenuItem's; the core ignores one it does not know.
                core_->onMenu(static_cast<MenuItem>(LOWORD(wParam)));
                return 0;
            }
            if (LOWORD(wParam) == static_cast<int>(Control::dessus) &&
                HIWORD(wParam) == BN_CLICKED) {
                core_->onDessusClick();
                return 0;
            }
            break;
        case WM_HSCROLL:
            // The period changes when the slider settles, not at each step of a drag.
            if (reinterpret_cast<HWND>(lParam) == control(Control::Slider) &&
                LOWORD(wParam) == TB_ENDTRACK) {
                core_->onSliderChange();
            }
            return 0;
        case WM_INITMENUPOPUP: core_->onMenuOpen(); return 0;
        case WM_NCACTIVATE: {
            // The caption takes its new look when the message loop paints, not inside the call
            // that activates another window: opening a tool window does not wait for it.
            LRESULT result = defaultProcedure(hwnd, message, wParam, -1);
            RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
            return result;
        }
        case WM_CLOSE: core_->onUnload(); return 0;
        case WM_QUERYENDSESSION: return TRUE;
        case WM_ENDSESSION:
            if (wParam) core_->onEndSession();
            return 0;
        default: break;
    }
    return defaultProcedure(hwnd, message, wParam, lParam);
}

void Win32MainView::create(MainWindow& core) {
    RECT r{0, 0, metrics_.x(kMainWindow.clientWidth), metrics_.y(kMainWindow.clientHeight)};
    AdjustWindowRectEx(&r, kMainStyle, TRUE, 0);
    HMENU menu = LoadMenuA(instance_, MAKEINTRESOURCEA(IDR_MAINMENU));
    makeWindow(0, kMainWindowClass, kMainWindow.caption, kMainStyle, CW_USEDEFAULT, CW_USEDEFAULT,
               r.right - r.left, r.bottom - r.top, nullptr, menu, instance_, this);
    caption_ = kMainWindow.caption;
    createControls();
    core_ = &core;
    db_.attach(core);
}

void Win32MainView::createControls() {
    auto fontFor = [&](const FontStyle& wanted) {
        HFONT font = metrics_.createFont(wanted);
        fonts_.push_back(font);
        return font;
    };
    // The tips have no owner: a topmost window owned by the main window keeps Wine from making
    // the main window itself topmost ("Toujours visible"). Being topmost, they show above it
    // anyway, and endProgram destroys them.
    tooltip_ =
        CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance_, nullptr);
    for (const ControlLayout& item : mainWindowControls()) {
        // Controls inside the frame are its children, placed relative to it.
        HWND parent = item.inFrame ? frame_ : hwnd_;
        const char* windowClass = "STATIC";
        DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
        DWORD exStyle = 0;
        switch (item.kind) {
            case ControlKind::Frame:
                windowClass = kFrameClass;
                style |= WS_CLIPCHILDREN;
                // Tab goes on into its controls: "Toujours visible" and the slider.
                exStyle = WS_EX_CONTROLPARENT;
                break;
            case ControlKind::Label:
                style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX | (item.tooltip ? SS_NOTIFY : 0);
                // A swap file's path too long for the frame loses its middle, not its end; a
                // Windows name too long for its row ends with "...", never cut silently.
                if (item.id == Control::Label1) style |= SS_PATHELLIPSIS;
                if (item.id == Control::Windows) style |= SS_ENDELLIPSIS;
                break;
            case ControlKind::CheckBox:
                windowClass = "BUTTON";
                style |= BS_AUTOCHECKBOX | WS_TABSTOP;
                break;
            case ControlKind::Slider:
                windowClass = TRACKBAR_CLASSA;
                style |= TBS_HORZ | TBS_AUTOTICKS | TBS_BOTTOM | WS_TABSTOP;
                break;
        }
        HWND hwnd = makeWindow(
            exStyle, windowClass, item.text, style, metrics_.x(item.left), metrics_.y(item.top),
            metrics_.x(item.width), metrics_.y(item.height), parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.id)), instance_, nullptr);
        SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(item.font)), FALSE);
        controls_[item.id] = hwnd;
        texts_[item.id] = item.text;
        autoSize_[item.id] = item.autoSize;
        if (item.kind == ControlKind::Frame) frame_ = hwnd;
        if (item.kind == ControlKind::Slider) {
            SendMessageA(hwnd, TBM_SETRANGE, FALSE, MAKELPARAM(kSliderMin, kSliderMax));
            SendMessageA(hwnd, TBM_SETLINESIZE, 0, 1);
            SendMessageA(hwnd, TBM_SETPAGESIZE, 0, 5);
            SendMessageA(hwnd, TBM_SETPOS, TRUE, kSliderMin);
        }
        if (item.autoSize) fitToText(hwnd);
        if (item.kind == ControlKind::CheckBox) widenToText(hwnd);
        if (item.tooltip) addTooltip(hwnd, item.tooltip);
    }
    placeLabel1();
    // The label under the frame is never seen.
    SetWindowPos(control(Control::Label2), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32MainView::addTooltip(HWND control, const char* text) {
    std::string ansi = toAnsi(text);
    TOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = GetParent(control);
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = ansi.data();
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void Win32MainView::postShown() {
    if (hwnd_) PostMessageA(hwnd_, kShownMessage, 0, 0);
}

void Win32MainView::showCentred(int showCommand) {
    RECT window;
    GetWindowRect(hwnd_, &window);
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
}

bool Win32MainView::ownsWindow(HWND window) const {
    return hwnd_ && (window == hwnd_ || IsChild(hwnd_, window));
}

HWND Win32MainView::control(Control id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void Win32MainView::setCaption(const std::string& text) {
    if (!hwnd_ || text == caption_) return;
    caption_ = text;
    setWindowText(hwnd_, text);
}

std::string Win32MainView::caption() {
    return caption_;
}

void Win32MainView::setText(Control id, const std::string& text) {
    HWND hwnd = control(id);
    if (!hwnd || texts_[id] == text) return;
    texts_[id] = text;
    setWindowText(hwnd, text);
    if (autoSize_[id]) fitToText(hwnd);
    if (id == Control::Label1 || id == Control::DebutWin) placeLabel1();
    if (id == Control::Windows || id == Control::processeur) placeFirstRow();
}

void Win32MainView::placeFirstRow() {
    HWND windows = control(Control::Windows);
    HWND processor = control(Control::processeur);
    if (!windows || !processor || !frame_) return;
    auto inFrame = [&](HWND child) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, frame_, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    const ControlLayout* w = nullptr;
    const ControlLayout* p = nullptr;
    for (const ControlLayout& item : mainWindowControls()) {
        if (item.id == Control::Windows) w = &item;
        if (item.id == Control::processeur) p = &item;
    }
    if (!w || !p) return;
    // The processor keeps its right edge and grows to the left as its text needs; the
    // Windows name takes what is left of the row.
    const int right = metrics_.x(p->left + p->width);
    HDC dc = GetDC(processor);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(processor, WM_GETFONT, 0, 0)));
    const int needed = textExtent(dc, windowText(processor)).cx;
    SelectObject(dc, old);
    ReleaseDC(processor, dc);
    const int left = std::min<int>(metrics_.x(p->left), right - needed);
    RECT pr = inFrame(processor);
    RECT wr = inFrame(windows);
    SetWindowPos(processor, nullptr, left, pr.top, right - left, pr.bottom - pr.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    const int gap = metrics_.x(p->left - (w->left + w->width));
    SetWindowPos(windows, nullptr, 0, 0, std::max<int>(0, left - gap - wr.left), wr.bottom - wr.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(frame_, nullptr, TRUE);
}

void Win32MainView::placeLabel1() {
    HWND label = control(Control::Label1);
    HWND time = control(Control::DebutWin);
    if (!label || !time || !frame_) return;
    auto inFrame = [&](HWND child) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, frame_, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    fitToText(label);
    RECT l = inFrame(label);
    RECT t = inFrame(time);
    int designLeft = 0;
    int frameWidth = 0;
    for (const ControlLayout& item : mainWindowControls()) {
        if (item.id == Control::DebutWin) designLeft = metrics_.x(item.left);
        if (item.id == Control::cadre) frameWidth = item.width;
    }
    // The design's margin at the right of the elapsed time: 90 twips.
    const int right = metrics_.x(frameWidth - 90);
    const int gap = metrics_.x(60);
    const int width = t.right - t.left;
    // The elapsed time moves right of the label; where the frame ends first, the label is cut
    // to what is left (its path shortened in the middle) and the time keeps its place.
    int timeLeft = std::max<int>(designLeft, l.right + gap);
    if (timeLeft + width > right) {
        timeLeft = std::max<int>(l.left + gap, right - width);
        SetWindowPos(label, nullptr, 0, 0, std::max<int>(0, timeLeft - gap - l.left),
                     l.bottom - l.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (timeLeft != t.left) {
        SetWindowPos(time, nullptr, timeLeft, t.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(frame_, nullptr, TRUE);
    }
}

std::string Win32MainView::text(Control id) {
    auto it = texts_.find(id);
    return it == texts_.end() ? "" : it->second;
}

bool Win32MainView::isMinimised() {
    return hwnd_ && IsIconic(hwnd_);
}

void Win32MainView::setWidthTwips(int twips) {
    // The width is meant to show exactly the frame with the classic 3-pixel window border; where
    // the border is wider (newer themes), the window grows by the difference so that the frame
    // still shows whole.
    int classicBorders = 2 * MulDiv(3, metrics_.dpiX(), 96);
    RECT r{0, 0, metrics_.x(twips) - classicBorders, 100};
    AdjustWindowRectEx(&r, kMainStyle, TRUE, 0);
    RECT window;
    GetWindowRect(hwnd_, &window);
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Win32MainView::isChecked(Control id) {
    return SendMessageA(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int Win32MainView::sliderPosition() {
    return static_cast<int>(SendMessageA(control(Control::Slider), TBM_GETPOS, 0, 0));
}

void Win32MainView::setSliderPosition(int position) {
    SendMessageA(control(Control::Slider), TBM_SETPOS, TRUE, position);
}

void Win32MainView::setWindowPos(int insertAfter, int x, int y, int cx, int cy, uint32_t flags) {
    SetWindowPos(hwnd_, reinterpret_cast<HWND>(static_cast<INT_PTR>(insertAfter)), x, y, cx, cy,
                 flags);
}

void Win32MainView::armTimer(TimerId id) {
    Timer& timer = timers_[id];
    KillTimer(hwnd_, static_cast<UINT_PTR>(id));
    if (timer.enabled && timer.interval > 0) {
        SetTimer(hwnd_, static_cast<UINT_PTR>(id), timer.interval, nullptr);
    }
}

void Win32MainView::setTimerInterval(TimerId id, uint32_t milliseconds) {
    timers_[id].interval = milliseconds;
    if (timers_[id].enabled) armTimer(id);
}

void Win32MainView::setTimerEnabled(TimerId id, bool enabled) {
    timers_[id].enabled = enabled;
    armTimer(id);
}

void Win32MainView::setMenuChecked(MenuItem item, bool checked) {
    CheckMenuItem(GetMenu(hwnd_), static_cast<UINT>(item),
                  MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void Win32MainView::endProgram() {
    if (ended_) return;
    ended_ = true;
    // Every way out takes the icon away: the shell would keep a dead one until a mouse passes.
    if (notification_) notification_->removeIcon();
    for (auto& [id, timer] : timers_) KillTimer(hwnd_, static_cast<UINT_PTR>(id));
    db_.destroy();
    if (tooltip_) DestroyWindow(tooltip_);
    HWND hwnd = hwnd_;
    core_ = nullptr;  // no more events for the core
    if (hwnd) DestroyWindow(hwnd);
    hwnd_ = nullptr;
    owner_.set(nullptr);
    PostQuitMessage(0);
}

}  // namespace corvane::win32
