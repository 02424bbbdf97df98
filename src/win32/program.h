// Every Win32 service of the program and the main window they serve, made in the order they
// depend on one another: what Corvane.exe runs, and what the benchmark times.
#pragma once

#include <windows.h>

#include "program/main_window.h"
#include "win32/db_view.h"
#include "win32/dialogs_win32.h"
#include "win32/event_log_win32.h"
#include "win32/files_win32.h"
#include "win32/history_view.h"
#include "win32/main_view.h"
#include "win32/metrics.h"
#include "win32/notification_area_win32.h"
#include "win32/owner_window.h"
#include "win32/printer_win32.h"
#include "win32/registry_win32.h"
#include "win32/settings_win32.h"
#include "win32/shell_win32.h"
#include "win32/system_win32.h"
#include "win32/virtual_memory_view.h"
#include "win32/virtual_memory_win32.h"
#include "win32/windows_win32.h"

namespace corvane::win32 {

// Takes the program's folder and the current folder out of the search for libraries loaded by
// name, where Windows can; the first thing the program does.
void restrictLibrarySearch();

class Win32Program {
public:
    // Loads the common controls, registers the window classes and makes the main window
    // (hidden: the caller runs the start-up, then shows it).
    explicit Win32Program(HINSTANCE instance);
    Win32Program(const Win32Program&) = delete;
    Win32Program& operator=(const Win32Program&) = delete;

    MainWindow& core() { return core_; }
    Win32MainView& view() { return view_; }

private:
    struct Registered {
        explicit Registered(HINSTANCE instance);
    };

    Registered registered_;
    Metrics metrics_;
    OwnerWindow owner_;  // the main window's handle, for the services that open windows over it
    Win32System system_;
    Win32Files files_;
    Win32Registry registry_;
    Win32Settings settings_;
    Win32Shell shell_;
    Win32DbView db_;
    Win32MainView view_;
    Win32Dialogs dialogs_;
    Win32Printer printer_;
    Win32HistoryView history_;
    Win32VirtualMemoryView memoryWindow_;
    Win32VirtualMemory memory_;
    Win32NotificationArea notification_;
    Win32Windows windows_;
    Win32EventLog eventLog_;
    Platform platform_;
    MainWindow core_;
};

}  // namespace corvane::win32
