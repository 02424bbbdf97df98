// Screen metrics and fonts.
#include "win32/metrics.h"

#include <cmath>
#include <string>

#include "common/device_units.h"
#include "win32/window_text.h"

namespace corvane::win32 {

Metrics::Metrics() {
    HDC screen = GetDC(nullptr);
    if (screen) {
        dpiX_ = usableDpi(GetDeviceCaps(screen, LOGPIXELSX));
        dpiY_ = usableDpi(GetDeviceCaps(screen, LOGPIXELSY));
        ReleaseDC(nullptr, screen);
    }
}

HFONT Metrics::createFont(const FontStyle& font) const {
    int height = -static_cast<int>(std::lround(font.points * dpiY_ / 72.0));
    return CreateFontA(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic,
                       font.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, font.face);
}

namespace {

int iconSide(int metric, int standard) {
    int side = GetSystemMetrics(metric);
    return side > 0 ? side : usableIconSide(side, standard, Metrics().dpiY());
}

}  // namespace

int smallIconSide() {
    return iconSide(SM_CYSMICON, 16);
}

int largeIconSide() {
    return iconSide(SM_CYICON, 32);
}

namespace {

// The size of a control's text in its font: width of the text, height of a line.
SIZE textSize(HWND control) {
    std::string text = windowText(control);
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size = textExtent(dc, text);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    size.cy = metrics.tmHeight;
    return size;
}

}  // namespace

void fitToText(HWND control) {
    SIZE size = textSize(control);
    SetWindowPos(control, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void widenToText(HWND checkBox) {
    SIZE size = textSize(checkBox);
    RECT r;
    GetWindowRect(checkBox, &r);
    int needed = size.cx + GetSystemMetrics(SM_CXMENUCHECK) + 2 * GetSystemMetrics(SM_CXEDGE) + 4;
    if (needed > r.right - r.left) {
        SetWindowPos(checkBox, nullptr, 0, 0, needed, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace corvane::win32
