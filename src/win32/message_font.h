// The font the tool windows write in: the message font, what this system's dialogs show.
#pragma once

#include <windows.h>

namespace corvane::win32 {

// Makes the message font into `font` where it is still null (the window keeps it until it is
// destroyed, for every later opening) and returns it; the stock GUI font where it cannot be had.
HGDIOBJ messageFont(HFONT& font);

// The height of a line of `font` on `window`'s display, its leading included; `fallback` where
// the device measures nothing (a GDI that does not answer), so that rows stay readable.
int lineHeightOf(HWND window, HGDIOBJ font, int fallback);

}  // namespace corvane::win32
