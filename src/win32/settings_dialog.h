// A modal dialog that edits one set of settings: the set is shown when the dialog opens, read
// back and checked at OK (a problem is shown and the dialog stays open), and given back only
// when the user keeps it. No exception crosses the dialog's procedure: what reaches it ends
// the program as any window's does.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "common/errors.h"
#include "win32/win32_text.h"
#include "win32/window_procedure.h"

namespace corvane::win32 {

template <class Settings>
struct SettingsDialog {
    int templateId;     // the dialog's template in corvane.rc
    const char* title;  // of the message box that names a problem
    void (*fill)(HWND dialog, const Settings& settings);
    Settings (*read)(HWND dialog);
    std::optional<std::string> (*problem)(const Settings& settings);
    // The dialog's other commands (a "Parcourir..." button); true when it handled `id`.
    bool (*command)(HWND dialog, WORD id) = nullptr;
};

namespace settings_dialog {

template <class Settings>
struct Editing {
    const SettingsDialog<Settings>& kind;
    Settings settings;
};

template <class Settings>
INT_PTR handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* editing = reinterpret_cast<Editing<Settings>*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            auto* opened = reinterpret_cast<Editing<Settings>*>(lParam);
            opened->kind.fill(dialog, opened->settings);
            return TRUE;
        }
        case WM_COMMAND: {
            WORD id = LOWORD(wParam);
            if (id == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            if (!editing) return FALSE;
            if (id == IDOK) {
                Settings chosen = editing->kind.read(dialog);
                if (auto problem = editing->kind.problem(chosen)) {
                    MessageBoxA(dialog, toAnsi(*problem).c_str(), editing->kind.title,
                                MB_OK | MB_ICONEXCLAMATION);
                    return TRUE;
                }
                editing->settings = chosen;
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            return editing->kind.command && editing->kind.command(dialog, id) ? TRUE : FALSE;
        }
        default: return FALSE;
    }
}

template <class Settings>
INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (leavingOnUncaught()) return FALSE;
    try {
        return handle<Settings>(dialog, message, wParam, lParam);
    } catch (...) {
        leaveOnUncaught(dialog);
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
}

}  // namespace settings_dialog

// What the user kept with OK, or nothing when they cancelled.
template <class Settings>
std::optional<Settings> editInDialog(HINSTANCE instance, HWND owner,
                                     const SettingsDialog<Settings>& kind,
                                     const Settings& current) {
    settings_dialog::Editing<Settings> editing{kind, current};
    INT_PTR result =
        DialogBoxParamA(instance, MAKEINTRESOURCEA(kind.templateId), owner,
                        settings_dialog::procedure<Settings>, reinterpret_cast<LPARAM>(&editing));
    if (result == -1) throw RuntimeError(kErrOutOfMemory);
    if (result != IDOK) return std::nullopt;
    return editing.settings;
}

}  // namespace corvane::win32
