// What happens to an exception at the edge of a window procedure, and the classes' registration.
#include "win32/window_procedure.h"

#include <string>

#include "common/app.h"
#include "common/errors.h"
#include "program/main_window.h"
#include "win32/file_calls.h"
#include "win32/resource.h"
#include "win32/win32_text.h"

namespace corvane::win32 {

namespace {

bool leaving = false;
MainWindow* leavingCore = nullptr;

// The exit procedure's own end, which the core handles itself: it never needs a message.
bool isProgramEnd() noexcept {
    try {
        throw;
    } catch (const ProgramEnd&) {
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace

void leaveThrough(MainWindow* core) {
    leavingCore = core;
}

bool leavingOnUncaught() {
    return leaving;
}

void leaveOnUncaught(HWND hwnd) noexcept {
    if (leaving) return;
    leaving = true;
    if (isProgramEnd()) {
        PostQuitMessage(0);
        return;
    }
    RuntimeError error = currentError();
    if (leavingCore) {
        // Said, then the statistics and the journal saved; the program's end posts the quit.
        leavingCore->leaveOnError(error);
        if (leavingCore->ended()) return;
    } else {
        try {
            std::string text = "Erreur d'exécution '" + std::to_string(error.number()) + "' :";
            if (!error.description().empty()) text += "\r\n\r\n" + error.description();
            MessageBoxA(hwnd, toAnsi(text).c_str(), kAppTitle, MB_OK | MB_ICONERROR | MB_TASKMODAL);
        } catch (...) {
            // Not even the message could be made: the program still ends.
        }
    }
    PostQuitMessage(1);
}

void registerWindowClass(HINSTANCE instance, const char* name, WNDPROC procedure, ClassLook look) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    if (look.programIcon) windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_CORVANE));
    windowClass.hCursor = LoadCursorA(nullptr, look.cursor);
    if (look.buttonFace) windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    if (!wideFunctions()) {
        RegisterClassA(&windowClass);
        return;
    }
    std::wstring wideName = toWide(name);
    WNDCLASSW wide{};
    wide.lpfnWndProc = windowClass.lpfnWndProc;
    wide.hInstance = windowClass.hInstance;
    wide.hIcon = windowClass.hIcon;
    wide.hCursor = windowClass.hCursor;
    wide.hbrBackground = windowClass.hbrBackground;
    wide.lpszClassName = wideName.c_str();
    RegisterClassW(&wide);
}

bool bringForward(HWND hwnd) {
    if (!hwnd) return false;
    if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
    SetForegroundWindow(hwnd);
    return true;
}

}  // namespace corvane::win32
