// Corvane's entry point: the platform services, the main window, and the message loop that
// gives the main window's key handler every key first.
#include <windows.h>
#include <commctrl.h>

#include "monitor/main_window.h"
#include "platform/win32/about_view.h"
#include "platform/win32/history_window.h"
#include "platform/win32/main_view.h"
#include "platform/win32/metrics.h"
#include "platform/win32/printer_win32.h"
#include "platform/win32/resource.h"
#include "platform/win32/win32_services.h"

using namespace corvane;
using namespace corvane::win32;

namespace {

void initCommonControls() {
    // InitCommonControlsEx is missing from the oldest comctl32; the slider needs one or the other.
    using InitEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    HMODULE comctl = LoadLibraryA("comctl32.dll");
    auto initEx = comctl ? reinterpret_cast<InitEx>(reinterpret_cast<void*>(
                               GetProcAddress(comctl, "InitCommonControlsEx")))
                         : nullptr;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    if (!initEx || !initEx(&icc)) InitCommonControls();
}

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
    initCommonControls();
    Win32MainView::registerClasses(instance);
    Win32DbView::registerClass(instance);
    Win32HistoryWindow::registerClasses(instance);

    Metrics metrics;
    Win32System system;
    Win32Files files;
    Win32Registry registry;
    Win32Settings settings;
    Win32Shell shell;
    Win32DbView db(instance, metrics);
    Win32MainView view(instance, metrics, db);
    Win32Dialogs dialogs(view.ownerHandle());
    Win32Printer printer(view.ownerHandle());
    Win32HistoryWindow history(instance, metrics, system, files, dialogs);
    Win32Windows windows(instance, metrics, history);
    Platform platform{system, files, registry, settings, shell, dialogs, view, db, printer, windows};

    MainWindow core(platform);
    view.create(core);
    core.onLoad();
    if (!core.ended()) view.showCentred(showCommand);
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    return messageLoop(core, view, accelerators);
}
