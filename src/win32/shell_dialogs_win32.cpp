// Starting programs, opening addresses, and message boxes.
// <windows.h> first: the other headers of the system rely on it.
// clang-format off
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
// clang-format on

#include <algorithm>
#include <vector>

#include "common/text.h"
#include "win32/file_calls.h"
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

namespace {

std::string systemFolder() {
    char directory[MAX_PATH];
    UINT n = GetSystemDirectoryA(directory, MAX_PATH);
    return n > 0 && n < MAX_PATH ? fromAnsi(std::string(directory, n)) : "";
}

std::string windowsFolder() {
    char directory[MAX_PATH];
    UINT n = GetWindowsDirectoryA(directory, MAX_PATH);
    return n > 0 && n < MAX_PATH ? fromAnsi(std::string(directory, n)) : "";
}

// The full path of the system's program `name` ("notepad.exe", "cmd"): in the system folder
// (NT's notepad and cmd), else the Windows folder (9x's notepad). Never found by search path,
// which would take a program of that name from the current folder or beside Corvane first.
std::string systemProgram(std::string name) {
    if (name.empty() || name.find_first_of("\\/:") != std::string::npos) {
        throw RuntimeError(kErrBadFileName);
    }
    if (name.find('.') == std::string::npos) name += ".exe";
    for (std::string folder : {systemFolder(), windowsFolder()}) {
        if (folder.empty()) continue;
        if (folder.back() != '\\') folder += '\\';
        std::string path = folder + name;
        DWORD attributes = fileAttributesAt(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return path;
        }
    }
    throw RuntimeError(kErrFileNotFound);
}

}  // namespace

void Win32Shell::run(const std::string& commandLine, WindowShow show) {
    size_t blank = commandLine.find(' ');
    std::string program = systemProgram(commandLine.substr(0, blank));
    // The program's own name first, quoted, as every program expects its command line.
    std::string line =
        "\"" + program + "\"" + (blank == std::string::npos ? "" : commandLine.substr(blank));
    PROCESS_INFORMATION process{};
    BOOL started = createProcessAt(program, line, static_cast<WORD>(showCommand(show)), process);
    if (!started) raiseLastError();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

void Win32Shell::open(const std::string& address, WindowShow show) {
    INT_PTR result;
    if (wideFunctions()) {
        using ShellExecuteWFn = decltype(&::ShellExecuteW);
        static const auto shellExecute =
            systemFunction<ShellExecuteWFn>("shell32.dll", "ShellExecuteW");
        // Without the shell's open verb the caller starts the address through the command line.
        if (!shellExecute) throw RuntimeError(kErrFileNotFound);
        result = reinterpret_cast<INT_PTR>(shellExecute(nullptr, L"open", toWide(address).c_str(),
                                                        nullptr, nullptr, showCommand(show)));
    } else {
        using ShellExecuteAFn = decltype(&::ShellExecuteA);
        static const auto shellExecute =
            systemFunction<ShellExecuteAFn>("shell32.dll", "ShellExecuteA");
        if (!shellExecute) throw RuntimeError(kErrFileNotFound);
        result = reinterpret_cast<INT_PTR>(shellExecute(nullptr, "open", toAnsi(address).c_str(),
                                                        nullptr, nullptr, showCommand(show)));
    }
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
    // Wide on the NT family: a path outside the ANSI code page shows as it is.
    int answer = wideFunctions()
                     ? MessageBoxW(owner, toWide(text).c_str(), toWide(title).c_str(), flags)
                     : MessageBoxA(owner, toAnsi(text).c_str(), toAnsi(title).c_str(), flags);
    switch (answer) {
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
    std::string filter =
        patternName + '\0' + pattern + '\0' + "Tous les fichiers (*.*)" + '\0' + "*.*" + '\0';
    std::string extension = pattern.rfind("*.", 0) == 0 ? pattern.substr(2) : "";
    // The window the user is working in owns the dialog, so that it cannot be used meanwhile.
    HWND active = GetActiveWindow();
    HWND owner = active ? active : owner_;
    const DWORD flags =
        OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (wideFunctions()) {
        // Wide on the NT family: a folder outside the ANSI code page can be chosen.
        std::wstring wideFilter = toWide(filter);
        std::wstring wideTitle = toWide(title);
        std::wstring wideExtension = toWide(extension);
        std::vector<wchar_t> file(32768, L'\0');
        std::wstring suggested = toWide(suggestedName);
        suggested.copy(file.data(), std::min(suggested.size(), file.size() - 1));
        OPENFILENAMEW ofn{};
        ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
        ofn.hwndOwner = owner;
        ofn.lpstrFilter = wideFilter.c_str();
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = file.data();
        ofn.nMaxFile = static_cast<DWORD>(file.size());
        ofn.lpstrTitle = wideTitle.c_str();
        ofn.lpstrDefExt = extension.empty() ? nullptr : wideExtension.c_str();
        ofn.Flags = flags;
        using GetSaveFileNameWFn = decltype(&::GetSaveFileNameW);
        static const auto getSaveFileName =
            systemFunction<GetSaveFileNameWFn>("comdlg32.dll", "GetSaveFileNameW");
        if (!getSaveFileName || !getSaveFileName(&ofn)) return std::nullopt;
        std::wstring chosen(file.data());
        return utf16ToUtf8(std::u16string(chosen.begin(), chosen.end()));
    }
    std::string ansiFilter = toAnsi(filter);
    std::string ansiExtension = toAnsi(extension);
    std::string ansiTitle = toAnsi(title);
    std::vector<char> file(32768, '\0');
    std::string suggested = toAnsi(suggestedName);
    suggested.copy(file.data(), std::min(suggested.size(), file.size() - 1));
    OPENFILENAMEA ofn{};
    // The record's first form: Windows 95 and NT 4 refuse the longer one.
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = ansiFilter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = ansiTitle.c_str();
    ofn.lpstrDefExt = extension.empty() ? nullptr : ansiExtension.c_str();
    ofn.Flags = flags;
    using GetSaveFileNameFn = decltype(&::GetSaveFileNameA);
    static const auto getSaveFileName =
        systemFunction<GetSaveFileNameFn>("comdlg32.dll", "GetSaveFileNameA");
    if (!getSaveFileName || !getSaveFileName(&ofn)) return std::nullopt;
    return fromAnsi(file.data());
}

}  // namespace corvane::win32
