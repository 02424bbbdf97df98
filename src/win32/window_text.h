// Window texts in the core's UTF-8: through the wide functions on the NT family, so that a text
// outside the ANSI code page (a path in Cyrillic) shows as it is, and through the ANSI code page
// on the 9x family, which has no wide window functions. The program's own window classes are
// registered wide on NT too, so that their texts are kept wide.
#pragma once

#include <windows.h>

#include <string>

namespace corvane::win32 {

// A window of `className` (ASCII) with the UTF-8 `text`.
HWND makeWindow(DWORD exStyle, const char* className, const std::string& text, DWORD style, int x,
                int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                void* param);
void setWindowText(HWND window, const std::string& utf8);
std::string windowText(HWND window);
// A menu item with the UTF-8 `text`.
void appendMenuItem(HMENU menu, UINT id, const std::string& text);
// The default handling of a message, wide or ANSI as the window is.
LRESULT defaultProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Text drawn in the font selected into `dc`: its extent, and one line of it.
SIZE textExtent(HDC dc, const std::string& utf8);
void drawTextLine(HDC dc, int x, int y, UINT options, const RECT* rect, const std::string& utf8);
// DrawText's formatting of the UTF-8 `text` in `rect`.
int drawText(HDC dc, const std::string& utf8, RECT* rect, UINT format);

}  // namespace corvane::win32
