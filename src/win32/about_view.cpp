// The About window: made from its layout table, its messages turned into calls of its logic,
// shown modally over the program's other windows.
#include "win32/about_view.h"

#include "layout/about_layout.h"
#include "win32/resource.h"
#include "win32/win32_text.h"
#include "win32/window_procedure.h"
#include "win32/window_text.h"

namespace corvane::win32 {

namespace {

constexpr DWORD kAboutStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
constexpr DWORD kAboutExStyle = WS_EX_DLGMODALFRAME;
constexpr UINT_PTR kAboutTimerId = static_cast<UINT_PTR>(TimerId::AboutTimer1);
constexpr int kImageIds[kAboutImageCount] = {IDI_ANIMATION1, IDI_ANIMATION2, IDI_ANIMATION3,
                                             IDI_ANIMATION4};

struct ThreadWindows {
    HWND except;
    std::vector<HWND> found;
};

BOOL CALLBACK collectEnabledWindow(HWND hwnd, LPARAM param) {
    auto* windows = reinterpret_cast<ThreadWindows*>(param);
    if (hwnd != windows->except && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
        // Called by Windows: nothing may be thrown through it. Without memory for the list the
        // windows found so far are the ones kept from input.
        try {
            windows->found.push_back(hwnd);
        } catch (...) {
            return FALSE;
        }
    }
    return TRUE;
}

}  // namespace

void Win32AboutView::registerClass(HINSTANCE instance) {
    registerWindowClass(instance, kAboutWindowClass,
                        windowProcedure<Win32AboutView, &Win32AboutView::onMessage>);
}

Win32AboutView::Win32AboutView(HINSTANCE instance, const Metrics& metrics, AboutWindow& logic)
    : instance_(instance), metrics_(metrics), logic_(logic) {}

Win32AboutView::~Win32AboutView() {
    if (hwnd_) DestroyWindow(hwnd_);
    for (HFONT font : fonts_) DeleteObject(font);
    if (images_) ImageList_Destroy(images_);
    if (bigIcon_) DestroyIcon(bigIcon_);
    if (smallIcon_) DestroyIcon(smallIcon_);
}

bool Win32AboutView::create() {
    RECT r{0, 0, metrics_.x(kAboutClientWidthTwips), metrics_.y(kAboutClientHeightTwips)};
    AdjustWindowRectEx(&r, kAboutStyle, FALSE, kAboutExStyle);
    int width = r.right - r.left;
    int height = r.bottom - r.top;
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    // No owner: the window stands on its own, as at exit when the main window is on its way out.
    makeWindow(kAboutExStyle, kAboutWindowClass, "", kAboutStyle,
               work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, width, height, nullptr, nullptr,
               instance_, this);
    if (!hwnd_) return false;

    bigIcon_ = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_ABOUT), IMAGE_ICON,
                                             largeIconSide(), largeIconSide(), 0));
    smallIcon_ = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_ABOUT), IMAGE_ICON,
                                               smallIconSide(), smallIconSide(), 0));
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    linkCursor_ = LoadCursorA(instance_, MAKEINTRESOURCEA(IDC_LINK));
    if (!linkCursor_) linkCursor_ = LoadCursorA(nullptr, IDC_ARROW);
    loadImages();
    createControls();
    return true;
}

void Win32AboutView::loadImages() {
    // The images grow with the screen's DPI, as the picture box around them does.
    imageSize_ = MulDiv(32, metrics_.dpiX(), 96);
    images_ = ImageList_Create(imageSize_, imageSize_, ILC_COLOR4 | ILC_MASK, kAboutImageCount, 0);
    if (!images_) return;
    for (int id : kImageIds) {
        auto icon = static_cast<HICON>(
            LoadImageA(instance_, MAKEINTRESOURCEA(id), IMAGE_ICON, imageSize_, imageSize_, 0));
        if (icon) {
            ImageList_AddIcon(images_, icon);
            DestroyIcon(icon);
        }
    }
}

void Win32AboutView::createControls() {
    for (const AboutControlLayout& item : aboutWindowControls()) {
        const char* windowClass = "STATIC";
        DWORD style = WS_CHILD | WS_VISIBLE;
        switch (item.kind) {
            case AboutControlKind::Button:
                windowClass = "BUTTON";
                style |= BS_DEFPUSHBUTTON | WS_TABSTOP;
                break;
            case AboutControlKind::Picture: style |= SS_OWNERDRAW; break;
            case AboutControlKind::Label:
                style |= SS_NOPREFIX | (item.align == AboutAlign::Right ? SS_RIGHT : SS_LEFT);
                if (!item.autoSize) style |= SS_LEFTNOWORDWRAP;
                break;
            case AboutControlKind::Link:
                style |= SS_NOPREFIX | SS_NOTIFY | SS_LEFTNOWORDWRAP;
                break;
        }
        HWND hwnd =
            makeWindow(0, windowClass, item.text, style, metrics_.x(item.left),
                       metrics_.y(item.top), metrics_.x(item.width), metrics_.y(item.height), hwnd_,
                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.id)), instance_, nullptr);
        HFONT font = metrics_.createFont(item.font);
        fonts_.push_back(font);
        SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        controls_[item.id] = hwnd;
        texts_[item.id] = item.text;
    }
}

HWND Win32AboutView::control(AboutControl id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

bool Win32AboutView::isLink(HWND hwnd) const {
    return hwnd && (hwnd == control(AboutControl::Label3) || hwnd == control(AboutControl::Label4));
}

bool Win32AboutView::ownsWindow(HWND hwnd) const {
    return hwnd_ && (hwnd == hwnd_ || IsChild(hwnd_, hwnd));
}

void Win32AboutView::fit(AboutControl id) {
    // An auto-sized, word-wrapped label keeps its width and takes the height of its text.
    for (const AboutControlLayout& item : aboutWindowControls()) {
        if (item.id != id || !item.autoSize) continue;
        HWND hwnd = control(id);
        std::string ansi = toAnsi(texts_[id]);
        HDC dc = GetDC(hwnd);
        HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)));
        RECT bounds{0, 0, metrics_.x(item.width), 0};
        DrawTextA(dc, ansi.c_str(), static_cast<int>(ansi.size()), &bounds,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(hwnd, dc);
        int height = bounds.bottom > 0 ? bounds.bottom : metrics_.y(item.height);
        SetWindowPos(hwnd, nullptr, 0, 0, metrics_.x(item.width), height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Win32AboutView::runModal() {
    // Modal over every window of the program: they take no input until this one is closed.
    ThreadWindows others{hwnd_, {}};
    EnumThreadWindows(GetCurrentThreadId(), collectEnabledWindow,
                      reinterpret_cast<LPARAM>(&others));
    for (HWND hwnd : others.found) EnableWindow(hwnd, FALSE);

    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    SetForegroundWindow(hwnd_);
    SetFocus(control(AboutControl::Command1));

    bool quit = false;
    WPARAM quitCode = 0;
    MSG msg;
    while (!closing_) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            quitCode = msg.wParam;
            break;
        }
        if (got < 0) break;
        // Key preview: the window sees every key before its focused control does.
        if (msg.message == WM_KEYDOWN && ownsWindow(msg.hwnd)) {
            logic_.onKeyDown(static_cast<int>(msg.wParam));
            if (closing_) break;
        }
        if (IsDialogMessageA(hwnd_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }

    // The others come back before this window goes, so that the activation returns to them.
    for (HWND hwnd : others.found) {
        if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
    }
    KillTimer(hwnd_, kAboutTimerId);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
}

LRESULT Win32AboutView::onMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) hwnd_ = hwnd;
    if (message == WM_NCDESTROY) {
        hwnd_ = nullptr;
        return defaultProcedure(hwnd, message, wParam, lParam);
    }
    return handle(message, wParam, lParam);
}

LRESULT Win32AboutView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kAboutTimerId) logic_.onTimer();
            return 0;
        case WM_COMMAND: {
            auto id = static_cast<int>(LOWORD(wParam));
            int code = HIWORD(wParam);
            if ((id == static_cast<int>(AboutControl::Command1) && code == BN_CLICKED) ||
                id == IDOK) {
                logic_.onOkButton();
            } else if (id == IDCANCEL) {
                logic_.onKeyDown(VK_ESCAPE);
            } else if (id == static_cast<int>(AboutControl::Label3) && code == STN_CLICKED) {
                logic_.openWebPage();
            } else if (id == static_cast<int>(AboutControl::Label4) && code == STN_CLICKED) {
                logic_.writeToTheMaker();
            }
            return 0;
        }
        case WM_SETCURSOR:
            if (isLink(reinterpret_cast<HWND>(wParam))) {
                SetCursor(linkCursor_);
                return TRUE;
            }
            break;
        case WM_CTLCOLORSTATIC: {
            auto dc = reinterpret_cast<HDC>(wParam);
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            SetTextColor(dc, isLink(reinterpret_cast<HWND>(lParam))
                                 ? static_cast<COLORREF>(kAboutLinkColour)
                                 : GetSysColor(COLOR_BTNTEXT));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->CtlID == static_cast<UINT>(AboutControl::Picture1)) {
                drawPicture(*item);
                return TRUE;
            }
            break;
        }
        case WM_CLOSE:
            // Alt+F4 unloads the window as its button does.
            logic_.fin();
            return 0;
        default: break;
    }
    return defaultProcedure(hwnd_, message, wParam, lParam);
}

void Win32AboutView::drawPicture(const DRAWITEMSTRUCT& item) {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    if (!images_) return;
    int x = item.rcItem.left + (item.rcItem.right - item.rcItem.left - imageSize_) / 2;
    int y = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - imageSize_) / 2;
    ImageList_Draw(images_, currentImage_, item.hDC, x, y, ILD_TRANSPARENT);
}

void Win32AboutView::setCaption(const std::string& text) {
    if (hwnd_) setWindowText(hwnd_, text);
}

void Win32AboutView::setText(AboutControl id, const std::string& text) {
    HWND hwnd = control(id);
    if (!hwnd || texts_[id] == text) return;
    texts_[id] = text;
    setWindowText(hwnd, text);
    fit(id);
}

std::string Win32AboutView::text(AboutControl id) {
    auto it = texts_.find(id);
    return it == texts_.end() ? "" : it->second;
}

void Win32AboutView::showImage(int index) {
    if (index < 1 || index > kAboutImageCount) return;
    currentImage_ = index - 1;
    if (HWND picture = control(AboutControl::Picture1)) InvalidateRect(picture, nullptr, FALSE);
}

void Win32AboutView::armTimer() {
    if (!hwnd_) return;
    KillTimer(hwnd_, kAboutTimerId);
    if (timerEnabled_ && timerInterval_ > 0)
        SetTimer(hwnd_, kAboutTimerId, timerInterval_, nullptr);
}

void Win32AboutView::setTimerInterval(uint32_t milliseconds) {
    timerInterval_ = milliseconds;
    if (timerEnabled_) armTimer();
}

void Win32AboutView::setTimerEnabled(bool enabled) {
    timerEnabled_ = enabled;
    armTimer();
}

void Win32AboutView::close() {
    closing_ = true;
    if (hwnd_) {
        KillTimer(hwnd_, kAboutTimerId);
        // Wakes the modal loop, which then lets the window go.
        PostMessageA(hwnd_, WM_NULL, 0, 0);
    }
}

}  // namespace corvane::win32
