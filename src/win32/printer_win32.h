// Printing an image of the main window through the printer dialog of the common dialogs.
#pragma once

#include <windows.h>

#include "platform/platform.h"
#include "win32/owner_window.h"

namespace corvane::win32 {

class Win32Printer : public Printer {
public:
    // `mainWindow` is where the program keeps the main window's handle once it exists.
    explicit Win32Printer(const OwnerWindow& mainWindow) : mainWindow_(mainWindow) {}
    ~Win32Printer() override;
    Win32Printer(const Win32Printer&) = delete;
    Win32Printer& operator=(const Win32Printer&) = delete;

    std::optional<int32_t> registerCommonDialog() override;
    void showPrinterDialog() override;
    void printMainWindow() override;

private:
    const OwnerWindow& mainWindow_;
    HDC printerDc_ = nullptr;
    // The printer and its settings as the user last chose them, offered again next time.
    HGLOBAL devMode_ = nullptr;
    HGLOBAL devNames_ = nullptr;
};

}  // namespace corvane::win32
