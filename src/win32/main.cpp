// Corvane's entry point: the platform services, the main window, and the message loop that
// gives the main window's key handler every key first and works every window from the keyboard.
#include <windows.h>

#include "program/main_window.h"
#include "win32/advice_view.h"
#include "win32/history_view.h"
#include "win32/main_view.h"
#include "win32/program.h"
#include "win32/resource.h"
#include "win32/virtual_memory_view.h"
#include "win32/window_procedure.h"

using namespace corvane;
using namespace corvane::win32;

namespace {

// The history, virtual memory and advice windows are worked from the keyboard as dialogs are: Tab,
// the arrows, access keys, Escape to close; the main menu's shortcuts reach the main window
// from them too.
bool isToolWindow(HWND root) {
    char name[64] = "";
    if (!root || !GetClassNameA(root, name, sizeof name)) return false;
    return lstrcmpA(name, kHistoryWindowClass) == 0 ||
           lstrcmpA(name, kVirtualMemoryWindowClass) == 0 ||
           lstrcmpA(name, kAdviceWindowClass) == 0;
}

int messageLoop(MainWindow& core, Win32MainView& view, HACCEL accelerators) {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // Nothing thrown here may reach the frames of Windows below WinMain's caller either.
        try {
            bool forMain = view.ownsWindow(msg.hwnd);
            HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
            bool forTool = !forMain && isToolWindow(root);
            if ((forMain || forTool) && TranslateAcceleratorA(view.handle(), accelerators, &msg))
                continue;
            // The main window previews its keys: "d", "j" and Escape whatever control has the
            // focus.
            if (forMain && msg.message == WM_CHAR) {
                core.onKeyPress(static_cast<int16_t>(static_cast<uint8_t>(msg.wParam)));
                if (core.ended()) continue;
            }
            // Escape keeps its meaning in the main window: it reaches the key handler as a
            // character instead of closing a dialog.
            bool mainEscape = forMain && msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE;
            if (((forMain && !mainEscape) || forTool) &&
                IsDialogMessageA(forMain ? view.handle() : root, &msg))
                continue;
            TranslateMessage(&msg);
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
