// The scratch list window `Db`: two list boxes, made the first time it is used.
#include "win32/db_view.h"

#include <windows.h>

#include "win32/win32_text.h"
#include "win32/window_procedure.h"
#include "win32/window_text.h"

namespace corvane::win32 {

namespace {

constexpr DWORD kDbStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
constexpr DWORD kDbExStyle = WS_EX_DLGMODALFRAME;  // no icon in the caption

}  // namespace

void Win32DbView::registerClass(HINSTANCE instance) {
    registerWindowClass(instance, kDbWindowClass,
                        windowProcedure<Win32DbView, &Win32DbView::onMessage>);
}

Win32DbView::Win32DbView(HINSTANCE instance, const Metrics& metrics)
    : instance_(instance), metrics_(metrics) {}

Win32DbView::~Win32DbView() {
    destroy();
    if (font_) DeleteObject(font_);
}

LRESULT Win32DbView::onMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY && hwnd_ == hwnd) {
        // Closing the window unloads it: the ticks stop filling it until "d" shows it again.
        hwnd_ = nullptr;
        loaded_ = false;
        // A window loaded again starts with empty lists, as this one did.
        for (Lines& lines : lines_) lines = Lines{};
        if (core_) core_->onDbUnload();
    }
    return defaultProcedure(hwnd, message, wParam, lParam);
}

void Win32DbView::load() {
    loaded_ = true;
}

void Win32DbView::createWindow() {
    if (hwnd_) return;
    RECT r{0, 0, metrics_.x(kDbWindow.clientWidth), metrics_.y(kDbWindow.clientHeight)};
    AdjustWindowRectEx(&r, kDbStyle, FALSE, kDbExStyle);
    hwnd_ = makeWindow(kDbExStyle, kDbWindowClass, kDbWindow.caption, kDbStyle, CW_USEDEFAULT,
                       CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                       instance_, this);
    if (!hwnd_) throw RuntimeError(kErrOutOfMemory);
    if (!font_) font_ = metrics_.createFont(kLabelFont);
    for (const ListLayout& list : dbWindowLists()) {
        HWND box = makeWindow(
            WS_EX_CLIENTEDGE, "LISTBOX", "",
            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY, metrics_.x(list.left),
            metrics_.y(list.top), metrics_.x(list.width), metrics_.y(list.height), hwnd_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(list.id)), instance_, nullptr);
        SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
}

void Win32DbView::show() {
    load();
    createWindow();
    for (DbList list : {DbList::List1, DbList::List2}) {
        if (lines(list).stale) refill(list);
    }
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
}

void Win32DbView::refill(DbList list) {
    HWND box = GetDlgItem(hwnd_, static_cast<int>(list));
    SendMessageA(box, WM_SETREDRAW, FALSE, 0);
    SendMessageA(box, LB_RESETCONTENT, 0, 0);
    for (const std::string& item : lines(list).items) {
        SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toAnsi(item).c_str()));
    }
    SendMessageA(box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box, nullptr, TRUE);
    lines(list).stale = false;
}

void Win32DbView::clear(DbList list) {
    Lines& l = lines(list);
    l.items.clear();
    if (!visible()) {
        l.stale = true;
        return;
    }
    SendDlgItemMessageA(hwnd_, static_cast<int>(list), LB_RESETCONTENT, 0, 0);
}

void Win32DbView::addItem(DbList list, const std::string& text) {
    load();
    Lines& l = lines(list);
    l.items.push_back(text);
    if (!visible() || l.stale) {
        l.stale = true;
        return;
    }
    SendDlgItemMessageA(hwnd_, static_cast<int>(list), LB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(toAnsi(text).c_str()));
}

void Win32DbView::destroy() {
    loaded_ = false;
    if (!hwnd_) return;
    HWND hwnd = hwnd_;
    core_ = nullptr;
    DestroyWindow(hwnd);
    hwnd_ = nullptr;
}

}  // namespace corvane::win32
