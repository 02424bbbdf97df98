// Window texts, wide on the NT family and ANSI on the 9x family.
#include "win32/window_text.h"

#include "common/text.h"
#include "win32/file_calls.h"
#include "win32/win32_text.h"

namespace corvane::win32 {

namespace {

std::string fromWide(const std::wstring& wide) {
    return utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

}  // namespace

HWND makeWindow(DWORD exStyle, const char* className, const std::string& text, DWORD style, int x,
                int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                void* param) {
    if (wideFunctions()) {
        return CreateWindowExW(exStyle, toWide(className).c_str(), toWide(text).c_str(), style, x,
                               y, width, height, parent, menu, instance, param);
    }
    return CreateWindowExA(exStyle, className, toAnsi(text).c_str(), style, x, y, width, height,
                           parent, menu, instance, param);
}

void setWindowText(HWND window, const std::string& utf8) {
    if (wideFunctions()) {
        SetWindowTextW(window, toWide(utf8).c_str());
    } else {
        SetWindowTextA(window, toAnsi(utf8).c_str());
    }
}

std::string windowText(HWND window) {
    if (wideFunctions()) {
        std::wstring wide(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
        wide.resize(static_cast<size_t>(
            GetWindowTextW(window, wide.data(), static_cast<int>(wide.size()))));
        return fromWide(wide);
    }
    std::string ansi(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    ansi.resize(
        static_cast<size_t>(GetWindowTextA(window, ansi.data(), static_cast<int>(ansi.size()))));
    return fromAnsi(ansi);
}

void appendMenuItem(HMENU menu, UINT id, const std::string& text) {
    if (wideFunctions()) {
        AppendMenuW(menu, MF_STRING, id, toWide(text).c_str());
    } else {
        AppendMenuA(menu, MF_STRING, id, toAnsi(text).c_str());
    }
}

LRESULT defaultProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return IsWindowUnicode(hwnd) ? DefWindowProcW(hwnd, message, wParam, lParam)
                                 : DefWindowProcA(hwnd, message, wParam, lParam);
}

SIZE textExtent(HDC dc, const std::string& utf8) {
    SIZE size{0, 0};
    if (wideFunctions()) {
        std::wstring wide = toWide(utf8);
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    } else {
        std::string ansi = toAnsi(utf8);
        GetTextExtentPoint32A(dc, ansi.c_str(), static_cast<int>(ansi.size()), &size);
    }
    return size;
}

void drawTextLine(HDC dc, int x, int y, UINT options, const RECT* rect, const std::string& utf8) {
    if (wideFunctions()) {
        std::wstring wide = toWide(utf8);
        ExtTextOutW(dc, x, y, options, rect, wide.c_str(), static_cast<UINT>(wide.size()), nullptr);
    } else {
        std::string ansi = toAnsi(utf8);
        ExtTextOutA(dc, x, y, options, rect, ansi.c_str(), static_cast<UINT>(ansi.size()), nullptr);
    }
}

int drawText(HDC dc, const std::string& utf8, RECT* rect, UINT format) {
    if (wideFunctions()) {
        std::wstring wide = toWide(utf8);
        return DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), rect, format);
    }
    std::string ansi = toAnsi(utf8);
    return DrawTextA(dc, ansi.c_str(), static_cast<int>(ansi.size()), rect, format);
}

}  // namespace corvane::win32
