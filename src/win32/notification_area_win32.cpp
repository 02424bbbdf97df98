// The notification area's icon through Shell_NotifyIconA, looked up in shell32 at its first
// use: Windows 95 and NT 4 take the first, short form of the structure (a 64-character tooltip,
// no balloon), 2000 and Me the second (balloons), XP the third, Vista and later the whole one
// with the icon's newer behaviour.
#include "win32/notification_area_win32.h"

// shellapi.h needs windows.h before it.
#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "win32/function_lookup.h"
#include "win32/metrics.h"
#include "win32/resource.h"
#include "win32/system_library.h"
#include "win32/win32_text.h"
#include "win32/window_text.h"

namespace corvane::win32 {

namespace {

// The message the shell sends the main window for the icon's clicks.
constexpr UINT kTrayMessage = WM_APP + 1;
constexpr UINT kIconId = 1;
// What an add gives the icon.
constexpr UINT kWholeFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

// shell32's version, as its DllGetVersion says (shell32 4.71 and later have it).
struct ShellVersion {
    DWORD size, major, minor, build, platform;
};
using GetVersionFunction = HRESULT(CALLBACK*)(ShellVersion*);

// Copies `text` into a field of `capacity` characters, ending included.
void copyField(char* field, size_t capacity, const std::string& text) {
    size_t n = std::min(text.size(), capacity - 1);
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

// What of an ANSI tooltip the shell keeps: whole lines where it can.
std::string fitTooltip(const std::string& ansi, size_t capacity) {
    if (ansi.size() < capacity) return ansi;
    size_t end = ansi.rfind('\n', capacity - 1);
    return ansi.substr(0, end == std::string::npos ? capacity - 1 : end);
}

}  // namespace

Win32NotificationArea::Win32NotificationArea(const OwnerWindow& owner) : owner_(owner) {
    // Explorer broadcasts it when it starts again (and on Windows 10 when the display's DPI
    // changes): every icon must then be added anew.
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
}

Win32NotificationArea::~Win32NotificationArea() {
    removeIcon();
    if (icon_) DestroyIcon(icon_);
}

bool Win32NotificationArea::loadShell() {
    if (shellLoaded_) return notify_ != nullptr;
    shellLoaded_ = true;
    notify_ = systemFunction<NotifyFunction>("shell32.dll", "Shell_NotifyIconA");
    if (!notify_) return false;
    ShellVersion version{sizeof(ShellVersion), 4, 0, 0, 0};
    if (auto getVersion = systemFunction<GetVersionFunction>("shell32.dll", "DllGetVersion")) {
        if (FAILED(getVersion(&version))) version.major = 4;
    }
    if (version.major >= 6 && version.build >= 6000) {
        dataSize_ = sizeof(NOTIFYICONDATAA);
        version4_ = true;
    } else if (version.major >= 6) {
        dataSize_ = NOTIFYICONDATAA_V3_SIZE;
    } else if (version.major == 5) {
        dataSize_ = NOTIFYICONDATAA_V2_SIZE;
    } else {
        dataSize_ = NOTIFYICONDATAA_V1_SIZE;
    }
    balloons_ = version.major >= 5;
    tipLength_ = balloons_ ? 128 : 64;
    return true;
}

bool Win32NotificationArea::notify(DWORD action, UINT flags, const std::string& tooltip,
                                   const std::string& infoTitle, const std::string& info) {
    NOTIFYICONDATAA data{};
    data.cbSize = dataSize_;
    data.hWnd = owner_;
    data.uID = kIconId;
    data.uFlags = flags;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = icon_;
    if (flags & NIF_TIP) {
        copyField(data.szTip, tipLength_, fitTooltip(toAnsi(tooltip), tipLength_));
        // With the newer behaviour the shell shows the standard tooltip only when asked.
        if (version4_) data.uFlags |= NIF_SHOWTIP;
    }
    if (flags & NIF_INFO) {
        copyField(data.szInfoTitle, sizeof data.szInfoTitle, toAnsi(infoTitle));
        copyField(data.szInfo, sizeof data.szInfo, toAnsi(info));
        data.dwInfoFlags = NIIF_WARNING;
        data.uTimeout = 10000;
    }
    if (action == NIM_SETVERSION) data.uVersion = NOTIFYICON_VERSION_4;
    return owner_ && notify_(action, &data);
}

bool Win32NotificationArea::add() {
    return notify(NIM_ADD, kWholeFlags, tooltip_);
}

bool Win32NotificationArea::modify(unsigned changes) {
    return notify(NIM_MODIFY, changes == kWholeIcon ? kWholeFlags : changes, tooltip_);
}

bool Win32NotificationArea::setVersion() {
    return version4_ && notify(NIM_SETVERSION, 0);
}

HICON Win32NotificationArea::drawIcon(int level, bool alarm) const {
    int cx = smallIconSide();
    int cy = cx;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP colour = CreateCompatibleBitmap(screen, cx, cy);
    HBITMAP mask = CreateBitmap(cx, cy, 1, 1, nullptr);
    ReleaseDC(nullptr, screen);

    // A vertical gauge in the middle half of the icon; the rest shows the taskbar through.
    RECT whole{0, 0, cx, cy};
    RECT body{cx / 4, 0, cx - cx / 4, cy};
    HGDIOBJ old = SelectObject(dc, mask);
    FillRect(dc, &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    FillRect(dc, &body, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

    SelectObject(dc, colour);
    FillRect(dc, &whole, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HBRUSH frame = CreateSolidBrush(RGB(64, 64, 64));
    FillRect(dc, &body, frame);
    DeleteObject(frame);
    RECT inside{body.left + 1, body.top + 1, body.right - 1, body.bottom - 1};
    HBRUSH empty = CreateSolidBrush(level < 0 ? RGB(192, 192, 192) : RGB(255, 255, 255));
    FillRect(dc, &inside, empty);
    DeleteObject(empty);
    if (level > 0) {
        RECT filled{inside.left, inside.bottom - level, inside.right, inside.bottom};
        HBRUSH fill = CreateSolidBrush(alarm ? RGB(220, 0, 0) : RGB(0, 150, 0));
        FillRect(dc, &filled, fill);
        DeleteObject(fill);
    }
    SelectObject(dc, old);
    DeleteDC(dc);

    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = mask;
    info.hbmColor = colour;
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colour);
    return icon;
}

bool Win32NotificationArea::showIcon(const TrayIcon& wanted) {
    wanted_ = true;
    if (!loadShell()) return false;
    int inside = smallIconSide() - 2;
    int level = wanted.gaugePermille < 0 ? -1 : (inside * wanted.gaugePermille + 500) / 1000;
    UINT changed = 0;
    if (!icon_ || level != drawnLevel_ || wanted.alarm != drawnAlarm_) {
        HICON previous = icon_;
        icon_ = drawIcon(level, wanted.alarm);
        drawnLevel_ = level;
        drawnAlarm_ = wanted.alarm;
        if (previous) DestroyIcon(previous);
        changed |= NIF_ICON;
    }
    if (wanted.tooltip != tooltip_) {
        tooltip_ = wanted.tooltip;
        changed |= NIF_TIP;
    }
    return updates_.show(*this, changed);
}

void Win32NotificationArea::removeIcon() {
    wanted_ = false;
    if (updates_.added()) notify(NIM_DELETE, 0);
    updates_.forget();
}

bool Win32NotificationArea::showBalloon(const std::string& title, const std::string& text) {
    if (!updates_.added() || !balloons_) return false;
    return notify(NIM_MODIFY, NIF_INFO, {}, title, text);
}

void Win32NotificationArea::flashTaskbarButton() {
    if (!owner_) return;
    // FlashWindowEx is missing from Windows 95 and NT 4: they flash the button once.
    auto flashEx = CORVANE_PROCEDURE("user32.dll", FlashWindowEx);
    if (flashEx) {
        FLASHWINFO info{sizeof info, owner_, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
        flashEx(&info);
    } else {
        FlashWindow(owner_, TRUE);
    }
}

bool Win32NotificationArea::onMessage(UINT message, WPARAM, LPARAM lParam) {
    if (taskbarCreated_ && message == taskbarCreated_) {
        updates_.forget();
        if (wanted_ && notify_) {
            // Drawn again: the small-icon size may have changed with the display.
            if (icon_) DestroyIcon(icon_);
            icon_ = drawIcon(drawnLevel_, drawnAlarm_);
            updates_.show(*this, 0);
        }
        return true;
    }
    if (message != kTrayMessage) return false;
    // Newer shells put the mouse message in the low word, the icon's ID in the high one. Only
    // an icon whose newer behaviour the shell took is sent WM_CONTEXTMENU.
    const bool newer = updates_.newerMessages();
    switch (LOWORD(lParam)) {
        case WM_LBUTTONUP: bringBack(); break;
        case WM_RBUTTONUP:
            if (!newer) showMenu();
            break;
        case WM_CONTEXTMENU:
            if (newer) showMenu();
            break;
        default: break;
    }
    return true;
}

void Win32NotificationArea::bringBack() {
    if (!owner_) return;
    ShowWindow(owner_, IsIconic(owner_) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(owner_);
}

void Win32NotificationArea::showMenu() {
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    // Access keys, so that the menu opened from the keyboard (Win+B, then the menu key) works
    // from it too.
    appendMenuItem(menu, ID_SHOW_WINDOW, "&Afficher");
    appendMenuItem(menu, ID_HISTORY, "&Historique...");
    appendMenuItem(menu, ID_VIRTUAL_MEMORY, "&Mémoire virtuelle...");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    appendMenuItem(menu, ID_QUITTER, "&Quitter");
    SetMenuDefaultItem(menu, ID_SHOW_WINDOW, FALSE);
    POINT at{};
    GetCursorPos(&at);
    // The menu closes when the user clicks elsewhere only if the window is in the foreground.
    SetForegroundWindow(owner_);
    UINT chosen = static_cast<UINT>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, owner_, nullptr));
    PostMessageA(owner_, WM_NULL, 0, 0);
    DestroyMenu(menu);
    if (chosen == ID_SHOW_WINDOW) {
        bringBack();
    } else if (chosen != 0) {
        // The main menu's own commands: "Quitter" goes through the exit procedure.
        PostMessageA(owner_, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
    }
}

}  // namespace corvane::win32
