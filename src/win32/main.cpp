// Corvane's entry point: the platform services, the main window, and the message loop that
// gives the main window's key handler every key first.
#include <windows.h>

#include "program/main_window.h"
#include "win32/main_view.h"
#include "win32/program.h"
#include "win32/resource.h"

using namespace corvane;
using namespace corvane::win32;

namespace {

int messageLoop(MainWindow& core, Win32MainView& view, HACCEL accelerators) {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        bool forMain = view.ownsWindow(msg.hwnd);
        if (forMain && TranslateAcceleratorA(view.handle(), accelerators, &msg)) continue;
        TranslateMessage(&msg);
        // The main window previews its keys: "d", "j" and Escape whatever control has the focus.
        if (forMain && msg.message == WM_CHAR) {
            core.onKeyPress(static_cast<int16_t>(static_cast<uint8_t>(msg.wParam)));
            if (core.ended()) continue;
        }
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    Win32Program program(instance);
    MainWindow& core = program.core();
    core.onLoad();
    if (!core.ended()) program.view().showCentred(showCommand);
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    return messageLoop(core, program.view(), accelerators);
}
