// Starting programs, opening addresses, and message boxes.
// <windows.h> first: the other headers of the system rely on it.
// clang-format off
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
// clang-format on

#include <algorithm>
#include <vector>

#include "win32/system_library.h"
#include "win32/win32_errors.h"
#include "win32/win32_services.h"
#include "win32/win32_text.h"

namespace corvane::win32 {

namespace {

int showCommand(WindowShow show) {
    return show == WindowShow::MinimizedFocus ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
}

}  // namespace

void Win32Shell::run(const std::string& commandLine, WindowShow show) {
    std::string line = toAnsi(commandLine);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand(show));
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        raiseLastError();
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

void Win32Shell::open(const std::string& address, WindowShow show) {
    using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    static const auto shellExecute = systemFunction<ShellExecuteFn>("shell32.dll", "ShellExecuteA");
    // Without the shell's open verb the caller starts the address through the command line.
    if (!shellExecute) throw RuntimeError(kErrFileNotFound);
    auto result = reinterpret_cast<INT_PTR>(shellExecute(nullptr, "open", toAnsi(address).c_str(),
                                                         nullptr, nullptr, showCommand(show)));
    if (result > 32) return;
    switch (result) {
        case 0:
        case SE_ERR_OOM: throw RuntimeError(kErrOutOfMemory);
        case SE_ERR_FNF: throw RuntimeError(kErrFileNotFound);
        case SE_ERR_PNF: throw RuntimeError(kErrPathNotFound);
        case SE_ERR_ACCESSDENIED: throw RuntimeError(kErrPermissionDenied);
        default: throw RuntimeError(kErrInvalidCall);
    }
}

MsgAnswer Win32Dialogs::messageBox(const std::string& text, const std::string& title,
                                   MessageStyle style) {
    UINT flags = style.buttons == MsgButtons::YesNo ? MB_YESNO : MB_OK;
    switch (style.icon) {
        case MsgIcon::Critical: flags |= MB_ICONHAND; break;
        case MsgIcon::Question: flags |= MB_ICONQUESTION; break;
        case MsgIcon::Exclamation: flags |= MB_ICONEXCLAMATION; break;
        case MsgIcon::Information: flags |= MB_ICONASTERISK; break;
        case MsgIcon::None: break;
    }
    if (style.defaultButton == MsgDefault::Second) flags |= MB_DEFBUTTON2;
    HWND owner = owner_ && IsWindowVisible(owner_) ? owner_ : nullptr;
    if (!owner) flags |= MB_SETFOREGROUND;
    switch (MessageBoxA(owner, toAnsi(text).c_str(), toAnsi(title).c_str(), flags)) {
        case IDYES: return MsgAnswer::Yes;
        case IDNO: return MsgAnswer::No;
        case IDCANCEL: return MsgAnswer::Cancel;
        default: return MsgAnswer::Ok;
    }
}

std::optional<std::string> Win32Dialogs::saveAs(const std::string& title,
                                                const std::string& suggestedName,
                                                const std::string& patternName,
                                                const std::string& pattern) {
    // The filter is pairs of NUL-ended texts, the list ending with an empty one.
    std::string filter = toAnsi(patternName) + '\0' + toAnsi(pattern) + '\0' +
                         toAnsi("Tous les fichiers (*.*)") + '\0' + "*.*" + '\0';
    std::string extension = pattern.rfind("*.", 0) == 0 ? pattern.substr(2) : "";
    std::string ansiTitle = toAnsi(title);
    std::vector<char> file(32768, '\0');
    std::string suggested = toAnsi(suggestedName);
    suggested.copy(file.data(), std::min(suggested.size(), file.size() - 1));
    // The window the user is working in owns the dialog, so that it cannot be used meanwhile.
    HWND active = GetActiveWindow();
    OPENFILENAMEA ofn{};
    // The record's first form: Windows 95 and NT 4 refuse the longer one.
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = active ? active : owner_;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = ansiTitle.c_str();
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    ofn.Flags =
        OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    using GetSaveFileNameFn = BOOL(WINAPI*)(LPOPENFILENAMEA);
    static const auto getSaveFileName =
        systemFunction<GetSaveFileNameFn>("comdlg32.dll", "GetSaveFileNameA");
    if (!getSaveFileName || !getSaveFileName(&ofn)) return std::nullopt;
    return fromAnsi(file.data());
}

}  // namespace corvane::win32
