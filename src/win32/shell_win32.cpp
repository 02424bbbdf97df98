// Starting programs and opening addresses.
// <windows.h> first: the other headers of the system rely on it.
// clang-format off
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
// clang-format on

#include "win32/shell_win32.h"

#include <algorithm>
#include <vector>

#include "common/text.h"
#include "win32/file_calls.h"
#include "win32/system_library.h"
#include "win32/win32_errors.h"
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

}  // namespace corvane::win32
