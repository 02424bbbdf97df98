// The advice window: made once, at its first opening, and hidden when closed, so that opening
// it again only writes the figures that changed and shows it (made afresh, its thirty-one
// controls cost several times what the figures do); the clipboard.
#include "win32/advice_view.h"

#include "common/errors.h"
#include "layout/advice_layout.h"
#include "platform/controls.h"
#include "win32/about_view.h"
#include "win32/message_font.h"
#include "win32/win32_text.h"
#include "win32/window_procedure.h"
#include "win32/window_text.h"

namespace corvane::win32 {

namespace {

constexpr int kFirstId = static_cast<int>(AdviceControl::firstLabel);
constexpr int kCopyId = static_cast<int>(AdviceControl::copyButton);

int labelId(int line) {
    return kFirstId + 2 * line;
}

// Both forms on the clipboard: Unicode for NT, the ANSI code page for 9x.
bool putOnClipboard(HWND owner, const std::string& utf8) {
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    bool done = false;
    std::wstring wide = toWide(utf8);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t))) {
        if (void* bytes = GlobalLock(memory)) {
            memcpy(bytes, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
            GlobalUnlock(memory);
            if (SetClipboardData(CF_UNICODETEXT, memory))
                done = true;
            else
                GlobalFree(memory);
        } else {
            GlobalFree(memory);
        }
    }
    std::string ansi = toAnsi(utf8);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, ansi.size() + 1)) {
        if (void* bytes = GlobalLock(memory)) {
            memcpy(bytes, ansi.c_str(), ansi.size() + 1);
            GlobalUnlock(memory);
            if (SetClipboardData(CF_TEXT, memory))
                done = true;
            else
                GlobalFree(memory);
        } else {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
    return done;
}

bool classRegistered = false;

}  // namespace

Win32AdviceView::Win32AdviceView(HINSTANCE instance, const Metrics& metrics)
    : instance_(instance), metrics_(metrics) {
    texts_.resize(static_cast<size_t>(2 * kAdviceLines));
    if (!classRegistered) {
        registerWindowClass(instance, kAdviceWindowClass,
                            windowProcedure<Win32AdviceView, &Win32AdviceView::onMessage>,
                            {.programIcon = true});
        classRegistered = true;
    }
}

Win32AdviceView::~Win32AdviceView() {
    // The core may be gone already: the window goes without telling it.
    watch_ = nullptr;
    if (hwnd_) DestroyWindow(hwnd_);
    if (font_) DeleteObject(font_);
}

void Win32AdviceView::open(AdviceWatch& watch) {
    if (hwnd_ && IsWindowVisible(hwnd_)) {
        bringForward(hwnd_);
        return;
    }
    if (!hwnd_) create();
    watch_ = &watch;
    watch.attach(this);
    // Shown by the figures that follow: written while the window is hidden, they paint once.
    showPending_ = true;
}

void Win32AdviceView::create() {
    auto px = [&](int n) { return MulDiv(n, metrics_.dpiX(), 96); };
    int lines = 0;
    for (int h : kAdviceLineHeights) lines += h;
    // The text line's height is known only once the font is; the window is sized after.
    makeWindow(0, kAdviceWindowClass, kAdviceCaption,
               WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
               CW_USEDEFAULT, CW_USEDEFAULT, px(700), px(20 * lines), nullptr, nullptr, instance_,
               this);
    if (!hwnd_) throw RuntimeError(kErrOutOfMemory);
    createControls();
}

void Win32AdviceView::hide() {
    if (watch_) watch_->detach(this);
    watch_ = nullptr;
    showPending_ = false;
    ShowWindow(hwnd_, SW_HIDE);
}

void Win32AdviceView::setText(int id, const std::string& utf8) {
    std::string& shown = texts_[static_cast<size_t>(id - kFirstId)];
    if (shown == utf8) return;
    shown = utf8;
    setWindowText(GetDlgItem(hwnd_, id), utf8);
}

void Win32AdviceView::createControls() {
    HGDIOBJ font = messageFont(font_);
    int lineHeight = lineHeightOf(hwnd_, font, 16);

    auto px = [&](int n) { return MulDiv(n, metrics_.dpiX(), 96); };
    auto make = [&](const char* cls, const char* text, DWORD style, int id, int x, int y, int w,
                    int h) {
        HWND hwnd =
            makeWindow(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, hwnd_,
                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
        SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return hwnd;
    };
    const int margin = px(kAdviceMargin), gap = px(kAdviceGap);
    const int labelWidth = px(kAdviceLabelWidth), valueWidth = px(kAdviceValueWidth);
    int y = margin;
    for (int line = 0; line < kAdviceLines; ++line) {
        int height = lineHeight * kAdviceLineHeights[line];
        make("STATIC", "", SS_LEFT | SS_NOPREFIX, labelId(line), margin, y, labelWidth, height);
        make("STATIC", "", SS_LEFT | SS_NOPREFIX, labelId(line) + 1, margin + labelWidth + gap, y,
             valueWidth, height);
        y += height + gap;
    }
    const int width = 2 * margin + labelWidth + gap + valueWidth;
    make("BUTTON", "Copier", BS_PUSHBUTTON | WS_TABSTOP, kCopyId,
         width - margin - px(kAdviceButtonWidth), y + gap, px(kAdviceButtonWidth),
         px(kAdviceButtonHeight));
    y += gap + px(kAdviceButtonHeight) + margin;
    RECT r{0, 0, width, y};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)), FALSE, 0);
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32AdviceView::show(const AdviceReport& report) {
    if (!hwnd_) return;
    for (int line = 0; line < kAdviceLines && line < static_cast<int>(report.lines.size());
         ++line) {
        setText(labelId(line), report.lines[static_cast<size_t>(line)].label);
        setText(labelId(line) + 1, report.lines[static_cast<size_t>(line)].value);
    }
    copyText_ = report.copyText;
    if (showPending_) {
        showPending_ = false;
        // Shown unpainted and painted by the message loop, frame and all: the opening's own
        // work ends here, and the window is drawn once, with its figures. Closed while
        // minimised, it comes back at its size.
        if (IsIconic(hwnd_)) {
            ShowWindow(hwnd_, SW_RESTORE);
        } else {
            SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOREDRAW | SWP_NOACTIVATE);
            RedrawWindow(hwnd_, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        }
        // The frame waits for the message loop's painting like the rest, not drawn a first
        // time by the activation.
        framePainted_ = false;
        SetForegroundWindow(hwnd_);
        framePainted_ = true;
    }
}

void Win32AdviceView::copy() {
    if (!copyText_.empty()) putOnClipboard(hwnd_, copyText_);
}

LRESULT Win32AdviceView::onMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) hwnd_ = hwnd;
    if (hwnd_ != hwnd) return defaultProcedure(hwnd, message, wParam, lParam);
    return handle(message, wParam, lParam);
}

LRESULT Win32AdviceView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kCopyId && HIWORD(wParam) == BN_CLICKED) {
                copy();
                return 0;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                hide();
                return 0;
            }
            break;
        case WM_CLOSE: hide(); return 0;
        case WM_NCACTIVATE:
            // -1: the state changes, the frame is not drawn now.
            if (!framePainted_) return defaultProcedure(hwnd_, message, wParam, -1);
            break;
        case WM_DESTROY: {
            if (watch_) watch_->detach(this);
            watch_ = nullptr;
            HWND hwnd = hwnd_;
            hwnd_ = nullptr;
            showPending_ = false;
            for (std::string& text : texts_) text.clear();
            copyText_.clear();
            return defaultProcedure(hwnd, message, wParam, lParam);
        }
        default: break;
    }
    return defaultProcedure(hwnd_, message, wParam, lParam);
}

}  // namespace corvane::win32
