// The "Mémoire virtuelle" window: its controls, their layout as it is resized, the programs'
// columns drawn under a header, and the orders of the list. Messages are decoded into calls of
// the core's MemoryWatch.
#include "win32/virtual_memory_view.h"

// commctrl.h needs windows.h before it.
#include <commctrl.h>

#include <algorithm>

#include "common/errors.h"
#include "win32/function_lookup.h"
#include "win32/message_font.h"
#include "win32/win32_text.h"
#include "win32/window_procedure.h"
#include "win32/window_text.h"

namespace corvane::win32 {

namespace {

constexpr const char* kCaption = "Mémoire virtuelle";
constexpr int kFirstControl = static_cast<int>(VirtualMemoryControl::commit);
constexpr int kLastControl = static_cast<int>(VirtualMemoryControl::sortByPid);

// The programs' columns, each sorting the list: the name takes what the others leave.
struct Column {
    const char* title;
    int width;  // pixels at 96 dpi; 0 for the name
    ProcessOrder key;
};
constexpr Column kColumns[] = {
    {"Programme", 0, ProcessOrder::Name},           {"PID", 56, ProcessOrder::Pid},
    {"Engagement", 112, ProcessOrder::Commit},      {"Sur 1 h", 84, ProcessOrder::HourGrowth},
    {"Depuis le début", 120, ProcessOrder::Growth},
};

// A button per column, for the keyboard: the same pick as a click on the column's header.
struct OrderButton {
    VirtualMemoryControl id;
    const char* label;
    ProcessOrder order;
    int width;  // pixels at 96 dpi
};
constexpr OrderButton kOrderButtons[] = {
    {VirtualMemoryControl::sortByName, "&Programme", ProcessOrder::Name, 84},
    {VirtualMemoryControl::sortByPid, "P&ID", ProcessOrder::Pid, 48},
    {VirtualMemoryControl::sortByCommit, "&Engagement", ProcessOrder::Commit, 90},
    {VirtualMemoryControl::sortByHourGrowth, "Sur 1 &h", ProcessOrder::HourGrowth, 70},
    {VirtualMemoryControl::sortByStartGrowth, "Depuis le &début", ProcessOrder::Growth, 120},
};

// The sort arrows of a header came with comctl32 6 (Windows XP, for a program whose manifest
// asks for it); before, the sorted column's title carries the direction. Some builds of the
// version 6 library say 5.81 to DllGetVersion: the task dialog, which only version 6 has from
// Vista on, tells them.
bool headerHasSortArrows() {
    struct Version {
        DWORD size, major, minor, build, platform;
    };
    using GetVersion = HRESULT(CALLBACK*)(Version*);
    HMODULE library = GetModuleHandleA("comctl32.dll");
    if (!library) return false;
    auto getVersion = procedure<GetVersion>(library, "DllGetVersion");
    Version version{sizeof(Version), 0, 0, 0, 0};
    if (getVersion && SUCCEEDED(getVersion(&version)) && version.major >= 6) return true;
    return GetProcAddress(library, "TaskDialogIndirect") != nullptr;
}

std::vector<std::string> fields(const std::string& row) {
    std::vector<std::string> out;
    size_t at = 0;
    while (true) {
        size_t tab = row.find('\t', at);
        out.push_back(row.substr(at, tab == std::string::npos ? std::string::npos : tab - at));
        if (tab == std::string::npos) return out;
        at = tab + 1;
    }
}

}  // namespace

Win32VirtualMemoryView::Win32VirtualMemoryView(HINSTANCE instance, const Metrics& metrics)
    : instance_(instance), metrics_(metrics) {
    texts_.resize(static_cast<size_t>(kLastControl - kFirstControl + 1));
}

Win32VirtualMemoryView::~Win32VirtualMemoryView() {
    // The core may be gone already: the window goes without telling it.
    watch_ = nullptr;
    if (hwnd_) DestroyWindow(hwnd_);
    if (font_) DeleteObject(font_);
}

void Win32VirtualMemoryView::registerClass(HINSTANCE instance) {
    registerWindowClass(instance, kVirtualMemoryWindowClass,
                        windowProcedure<Win32VirtualMemoryView, &Win32VirtualMemoryView::onMessage>,
                        {.programIcon = true});
}

void Win32VirtualMemoryView::open(MemoryWatch& watch) {
    if (bringForward(hwnd_)) return;
    watch_ = &watch;
    makeWindow(0, kVirtualMemoryWindowClass, kCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
               CW_USEDEFAULT, CW_USEDEFAULT, metrics_.x(9000), metrics_.y(6900), nullptr, nullptr,
               instance_, this);
    if (!hwnd_) {
        watch_ = nullptr;
        throw RuntimeError(kErrOutOfMemory);
    }
    createControls();
    watch.attach(this);
    layoutControls();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
    for (const OrderButton& b : kOrderButtons) {
        if (SendMessageA(control(b.id), BM_GETCHECK, 0, 0) == BST_CHECKED) SetFocus(control(b.id));
    }
}

HWND Win32VirtualMemoryView::control(VirtualMemoryControl id) const {
    return hwnd_ ? GetDlgItem(hwnd_, static_cast<int>(id)) : nullptr;
}

void Win32VirtualMemoryView::setText(VirtualMemoryControl id, const std::string& utf8) {
    std::string& shown = texts_[static_cast<size_t>(static_cast<int>(id) - kFirstControl)];
    if (shown == utf8) return;
    shown = utf8;
    setWindowText(control(id), utf8);
}

void Win32VirtualMemoryView::createControls() {
    HGDIOBJ font = messageFont(font_);
    lineHeight_ = lineHeightOf(hwnd_, font, 16) + 2;

    auto make = [&](const char* cls, const char* text, DWORD style, int id, DWORD exStyle = 0) {
        HWND hwnd =
            makeWindow(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, hwnd_,
                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
        SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return hwnd;
    };
    auto id = [](VirtualMemoryControl c) { return static_cast<int>(c); };
    make("STATIC", "", SS_LEFTNOWORDWRAP | SS_NOPREFIX, id(VirtualMemoryControl::commit));
    HWND bar = make(PROGRESS_CLASSA, "", 0, id(VirtualMemoryControl::commitBar));
    SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 1000));
    make("STATIC", "", SS_LEFTNOWORDWRAP | SS_NOPREFIX, id(VirtualMemoryControl::peaks));
    make("STATIC", "", SS_LEFT | SS_NOPREFIX, id(VirtualMemoryControl::pageFiles));
    make("STATIC", "Trier par :", SS_LEFTNOWORDWRAP | SS_NOPREFIX,
         id(VirtualMemoryControl::sortTitle));
    for (const OrderButton& b : kOrderButtons) {
        DWORD style = BS_AUTORADIOBUTTON | BS_PUSHLIKE | WS_TABSTOP |
                      (&b == &kOrderButtons[0] ? WS_GROUP : 0);
        HWND button = make("BUTTON", b.label, style, id(b.id));
        if (b.order == ProcessOrder::Commit) SendMessageA(button, BM_SETCHECK, BST_CHECKED, 0);
    }
    HWND header =
        make(WC_HEADERA, "", HDS_HORZ | HDS_BUTTONS, id(VirtualMemoryControl::columnTitles));
    for (size_t i = 0; i < std::size(kColumns); ++i) {
        std::string title = toAnsi(kColumns[i].title);
        HDITEMA item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.pszText = title.data();
        item.cxy = MulDiv(kColumns[i].width, metrics_.dpiX(), 96);
        item.fmt = (i == 0 ? HDF_LEFT : HDF_RIGHT) | HDF_STRING;
        SendMessageA(header, HDM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    make("LISTBOX", "",
         LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | LBS_NOSEL | WS_VSCROLL |
             WS_TABSTOP,
         id(VirtualMemoryControl::programs), WS_EX_CLIENTEDGE);
    make("STATIC", "", SS_LEFTNOWORDWRAP | SS_NOPREFIX, id(VirtualMemoryControl::remark));
}

void Win32VirtualMemoryView::layoutControls() {
    if (!hwnd_) return;
    RECT c;
    GetClientRect(hwnd_, &c);
    auto px = [&](int n) { return MulDiv(n, metrics_.dpiX(), 96); };
    int margin = px(8), gap = px(6), width = std::max<int>(1, c.right - 2 * margin);
    int y = margin;
    auto place = [&](VirtualMemoryControl id, int height) {
        MoveWindow(control(id), margin, y, width, height, TRUE);
        y += height;
    };
    place(VirtualMemoryControl::commit, lineHeight_);
    place(VirtualMemoryControl::commitBar, px(14));
    y += px(2);
    place(VirtualMemoryControl::peaks, lineHeight_);
    y += gap;
    place(VirtualMemoryControl::pageFiles, lineHeight_ * std::max(1, pageFileLines_));
    y += gap;
    int buttonHeight = px(24), x = margin;
    HWND label = control(VirtualMemoryControl::sortTitle);
    MoveWindow(label, x, y + (buttonHeight - lineHeight_) / 2, px(60), lineHeight_, TRUE);
    x += px(64);
    for (const OrderButton& b : kOrderButtons) {
        MoveWindow(control(b.id), x, y, px(b.width), buttonHeight, TRUE);
        x += px(b.width) + px(4);
    }
    y += buttonHeight + gap;
    int headerHeight = lineHeight_ + px(6);
    place(VirtualMemoryControl::columnTitles, headerHeight);
    int noteTop = c.bottom - margin - lineHeight_;
    MoveWindow(control(VirtualMemoryControl::programs), margin, y, width,
               std::max(lineHeight_, noteTop - gap / 2 - y), TRUE);
    MoveWindow(control(VirtualMemoryControl::remark), margin, noteTop, width, lineHeight_, TRUE);
    setColumns();
}

void Win32VirtualMemoryView::setColumns() {
    HWND header = control(VirtualMemoryControl::columnTitles);
    HWND list = control(VirtualMemoryControl::programs);
    RECT r;
    GetClientRect(list, &r);
    int fixed = 0;
    for (size_t i = 1; i < std::size(kColumns); ++i)
        fixed += MulDiv(kColumns[i].width, metrics_.dpiX(), 96);
    // The list's frame shifts its items right of the header's edge by its border.
    int border = GetSystemMetrics(SM_CXEDGE);
    columnWidths_.assign(std::size(kColumns), 0);
    columnWidths_[0] = std::max<int>(MulDiv(80, metrics_.dpiX(), 96), r.right - fixed) + border;
    for (size_t i = 1; i < std::size(kColumns); ++i)
        columnWidths_[i] = MulDiv(kColumns[i].width, metrics_.dpiX(), 96);
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    item.cxy = columnWidths_[0];
    SendMessageA(header, HDM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    columnWidths_[0] -= border;
    InvalidateRect(list, nullptr, TRUE);
}

void Win32VirtualMemoryView::show(const VirtualMemoryReport& report) {
    if (!hwnd_) return;
    setText(VirtualMemoryControl::commit, report.commit);
    HWND bar = control(VirtualMemoryControl::commitBar);
    if (report.commitPermille >= 0) SendMessageA(bar, PBM_SETPOS, report.commitPermille, 0);
    ShowWindow(bar, report.commitPermille >= 0 ? SW_SHOWNA : SW_HIDE);
    setText(VirtualMemoryControl::peaks, report.peaks);
    std::string files = "Fichiers d'échange :";
    for (const std::string& line : report.pageFiles) files += "\r\n    " + line;
    setText(VirtualMemoryControl::pageFiles, files);
    int lines = 1 + static_cast<int>(report.pageFiles.size());
    if (lines != pageFileLines_) {
        pageFileLines_ = lines;
        layoutControls();
    }
    for (const OrderButton& b : kOrderButtons) {
        SendMessageA(control(b.id), BM_SETCHECK, b.order == report.sort.key ? BST_CHECKED : 0, 0);
    }
    markSortedColumn(report.sort);
    setText(VirtualMemoryControl::remark, report.programsNote);
    if (report.programs == programs_) return;
    programs_ = report.programs;
    // Refilled without a flash and without losing the place the user scrolled to.
    HWND list = control(VirtualMemoryControl::programs);
    LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& row : programs_)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toAnsi(row).c_str()));
    SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void Win32VirtualMemoryView::markSortedColumn(const ProgramSort& sort) {
    if (markedSort_ == sort) return;
    markedSort_ = sort;
    HWND header = control(VirtualMemoryControl::columnTitles);
    static const bool arrows = headerHasSortArrows();
    for (size_t i = 0; i < std::size(kColumns); ++i) {
        bool sorted = kColumns[i].key == sort.key;
        std::string title = toAnsi(kColumns[i].title);
        if (sorted && !arrows) title += sort.descending ? " v" : " ^";
        HDITEMA item{};
        item.mask = HDI_FORMAT | HDI_TEXT;
        item.pszText = title.data();
        item.fmt = (i == 0 ? HDF_LEFT : HDF_RIGHT) | HDF_STRING;
        if (sorted && arrows) item.fmt |= sort.descending ? HDF_SORTDOWN : HDF_SORTUP;
        SendMessageA(header, HDM_SETITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
}

void Win32VirtualMemoryView::drawProgram(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_WINDOW));
    if (item.itemID == static_cast<UINT>(-1) || item.itemID >= programs_.size()) return;
    std::vector<std::string> cells = fields(toAnsi(programs_[item.itemID]));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    int pad = MulDiv(4, metrics_.dpiX(), 96);
    int x = item.rcItem.left;
    for (size_t i = 0; i < cells.size() && i < columnWidths_.size(); ++i) {
        RECT cell{x + pad, item.rcItem.top, x + columnWidths_[i] - pad, item.rcItem.bottom};
        UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX |
                      (i == 0 ? DT_LEFT | DT_END_ELLIPSIS : DT_RIGHT);
        DrawTextA(dc, cells[i].c_str(), static_cast<int>(cells[i].size()), &cell, format);
        x += columnWidths_[i];
    }
}

LRESULT Win32VirtualMemoryView::onMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) hwnd_ = hwnd;
    if (hwnd_ != hwnd) return defaultProcedure(hwnd, message, wParam, lParam);
    return handle(message, wParam, lParam);
}

LRESULT Win32VirtualMemoryView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE: layoutControls(); return 0;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize = {metrics_.x(7800), metrics_.y(4500)};
            return 0;
        }
        case WM_MEASUREITEM: {
            auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            measure->itemHeight = static_cast<UINT>(lineHeight_);
            return TRUE;
        }
        case WM_DRAWITEM:
            if (wParam == static_cast<WPARAM>(VirtualMemoryControl::programs)) {
                drawProgram(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
                return TRUE;
            }
            break;
        case WM_COMMAND:
            // Escape, from the message loop's dialog keys.
            if (LOWORD(wParam) == IDCANCEL && lParam == 0) {
                PostMessageA(hwnd_, WM_CLOSE, 0, 0);
                return 0;
            }
            if (HIWORD(wParam) != BN_CLICKED || !watch_) break;
            for (const OrderButton& b : kOrderButtons) {
                if (LOWORD(wParam) == static_cast<int>(b.id)) {
                    watch_->sortBy(b.order);
                    return 0;
                }
            }
            break;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHEADERA*>(lParam);
            // The columns follow the window's width, not the pointer.
            if (header->hdr.code == HDN_BEGINTRACKA || header->hdr.code == HDN_BEGINTRACKW)
                return TRUE;
            bool click = header->hdr.code == HDN_ITEMCLICKA || header->hdr.code == HDN_ITEMCLICKW;
            if (!click || !watch_ ||
                header->hdr.idFrom != static_cast<UINT_PTR>(VirtualMemoryControl::columnTitles))
                break;
            if (header->iItem >= 0 && static_cast<size_t>(header->iItem) < std::size(kColumns))
                watch_->sortBy(kColumns[header->iItem].key);
            return 0;
        }
        case WM_DESTROY: {
            if (watch_) watch_->detach(this);
            watch_ = nullptr;
            HWND hwnd = hwnd_;
            hwnd_ = nullptr;
            programs_.clear();
            for (std::string& text : texts_) text.clear();
            pageFileLines_ = 1;
            markedSort_.reset();
            return defaultProcedure(hwnd, message, wParam, lParam);
        }
        default: break;
    }
    return defaultProcedure(hwnd_, message, wParam, lParam);
}

}  // namespace corvane::win32
