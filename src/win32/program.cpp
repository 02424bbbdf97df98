// Putting the program's services together.
#include "win32/program.h"

#include <commctrl.h>

#include "win32/function_lookup.h"

namespace corvane::win32 {

namespace {

void initCommonControls() {
    // InitCommonControlsEx is missing from the oldest comctl32; the slider needs one or the other.
    // The library is the one the program imports (the manifest's version 6 where there is one),
    // already loaded: it is never looked for by name along the search path.
    auto initEx = CORVANE_PROCEDURE("comctl32.dll", InitCommonControlsEx);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    if (!initEx || !initEx(&icc)) InitCommonControls();
}

}  // namespace

void restrictLibrarySearch() {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    // Windows 8, and 7 and Vista with their update: libraries loaded by name come from the
    // system folder only, never from the program's folder or the current one.
    auto setDefault = CORVANE_PROCEDURE(kernel, SetDefaultDllDirectories);
    if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    // XP SP1 and later: at least the current folder leaves the search.
    auto setDirectory = CORVANE_PROCEDURE(kernel, SetDllDirectoryW);
    if (setDirectory) setDirectory(L"");
}

Win32Program::Registered::Registered(HINSTANCE instance) {
    initCommonControls();
    Win32MainView::registerClasses(instance);
    Win32DbView::registerClass(instance);
    Win32HistoryView::registerClasses(instance);
    Win32VirtualMemoryView::registerClass(instance);
}

Win32Program::Win32Program(HINSTANCE instance)
    : registered_(instance),
      db_(instance, metrics_),
      view_(instance, metrics_, db_, owner_),
      dialogs_(owner_),
      printer_(owner_),
      history_(instance, metrics_, system_, files_, dialogs_),
      memoryWindow_(instance, metrics_),
      notification_(owner_),
      windows_(instance, metrics_, history_, memoryWindow_, owner_),
      platform_{system_, files_,   registry_, settings_, shell_,        dialogs_, view_,
                db_,     printer_, windows_,  memory_,   notification_, eventLog_},
      core_(platform_) {
    view_.attachNotificationArea(notification_);
    view_.create(core_);
}

}  // namespace corvane::win32
