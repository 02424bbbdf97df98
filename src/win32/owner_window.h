// The main window's handle as the services that open windows over it take it: the main view sets
// it when its window is made and clears it when the window goes; a dialog, a message box, the
// printer's dialog or the notification icon reads it when it needs its owner.
#pragma once

#include <windows.h>

namespace corvane::win32 {

class OwnerWindow {
public:
    HWND handle() const { return handle_; }
    void set(HWND handle) { handle_ = handle; }
    // Read where a call takes the owner's handle (null until the window exists).
    operator HWND() const { return handle_; }

private:
    HWND handle_ = nullptr;
};

}  // namespace corvane::win32
