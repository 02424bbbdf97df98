// Corvane's entry point: the platform services, the main window, and the message loop that
// gives the main window's key handler every key first.
#include <windows.h>

#include "program/main_window.h"
#include "win32/main_view.h"
#include "win32/program.h"
#include "win32/resource.h"
#include "win32/window_procedure.h"

using namespace corvane;
using namespace corvane::win32;

namespace {

int messageLoop(MainWindow& core, Win32MainView& view, HACCEL accelerators) {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // Nothing thrown here may reach the frames of Windows below WinMain's caller either.
        try {
            bool forMain = view.ownsWindow(msg.hwnd);
            if (forMain && TranslateAcceleratorA(view.handle(), accelerators, &msg)) continue;
            TranslateMessage(&msg);
            // The main window previews its keys: "d", "j" and Escape whatever control has the
            // focus.
            if (forMain && msg.message == WM_CHAR) {
                core.onKeyPress(static_cast<int16_t>(static_cast<uint8_t>(msg.wParam)));
                if (core.ended()) continue;
            }
            DispatchMessageA(&msg);
        } catch (...) {
            leaveOnUncaught(msg.hwnd);
        }
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    restrictLibrarySearch();
    try {
        Win32Program program(instance);
        MainWindow& core = program.core();
        leaveThrough(&core);
        core.onLoad();
        if (!core.ended()) {
            program.view().showCentred(showCommand);
            program.view().postShown();
        }
        HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
        int code = messageLoop(core, program.view(), accelerators);
        leaveThrough(nullptr);
        return code;
    } catch (...) {
        // Before the main window exists (or after it has gone) there is nothing to save.
        leaveThrough(nullptr);
        leaveOnUncaught(nullptr);
        return 1;
    }
}
