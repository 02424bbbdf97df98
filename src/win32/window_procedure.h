// The one window procedure of the program's windows, and the one registration of their classes.
// The procedure keeps the window's object from WM_NCCREATE on and forwards every message to it;
// no exception crosses it, whatever window it is.
#pragma once

#include <windows.h>

#include "win32/window_text.h"

namespace corvane {
class MainWindow;
}

namespace corvane::win32 {

// The main window whose exit an exception that reaches a callback goes through; until there is
// one (and in programs without it), such an exception is said and the message loop ends.
void leaveThrough(MainWindow* core);

// Called inside a catch block at a callback's edge (a window procedure, the message loop):
// says in French what reached it, then leaves through the main window's exit after an error,
// which saves the statistics and closes the journal. From the first such error on, the windows
// get only the default handling.
void leaveOnUncaught(HWND hwnd) noexcept;
bool leavingOnUncaught();

template <class Window, LRESULT (Window::*Forward)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* window = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (window && !leavingOnUncaught()) {
        try {
            return (window->*Forward)(hwnd, message, wParam, lParam);
        } catch (...) {
            leaveOnUncaught(hwnd);
        }
    }
    return defaultProcedure(hwnd, message, wParam, lParam);
}

// The same policy for a class whose windows keep no object of ours (their window data holds
// something else): `Handle` does the work, and nothing it throws crosses the procedure.
template <LRESULT (*Handle)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK guardedProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!leavingOnUncaught()) {
        try {
            return Handle(hwnd, message, wParam, lParam);
        } catch (...) {
            leaveOnUncaught(hwnd);
        }
    }
    return defaultProcedure(hwnd, message, wParam, lParam);
}

struct ClassLook {
    LPCSTR cursor = IDC_ARROW;
    bool buttonFace = true;    // painted in the button face colour, as dialogs are
    bool programIcon = false;  // the program's icon in the caption
};

// Registered wide on the NT family, so that the windows' texts are kept wide (window_text.h).
void registerWindowClass(HINSTANCE instance, const char* name, WNDPROC procedure,
                         ClassLook look = {});

// A window asked for again while it is open comes back to the front, restored if minimised,
// rather than a second one being made. False when there is none.
bool bringForward(HWND hwnd);

}  // namespace corvane::win32
