// One function a file operation, choosing between the wide and the ANSI kernel32 function.
#include "win32/file_calls.h"

#include "common/text.h"
#include "win32/function_lookup.h"
#include "win32/win32_text.h"

namespace corvane::win32 {

namespace {

// The wide functions are looked up, not imported: a program that imports one that the 9x
// family's kernel32 lacks does not even load there.
template <class Fn>
Fn kernelWide(const char* name) {
    return procedure<Fn>("kernel32.dll", name);
}

#define CORVANE_WIDE(name) static const auto wide##name = kernelWide<decltype(&name##W)>(#name "W")

}  // namespace

bool wideFunctions() {
    // The high bit of GetVersion is set on the 9x family only.
    static const bool nt = (GetVersion() & 0x80000000u) == 0 &&
                           GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateFileW");
    return nt;
}

HANDLE createFileAt(const std::string& path, DWORD access, DWORD share, DWORD disposition,
                    DWORD flags) {
    if (wideFunctions()) {
        CORVANE_WIDE(CreateFile);
        return wideCreateFile(toWide(path).c_str(), access, share, nullptr, disposition, flags,
                              nullptr);
    }
    return CreateFileA(toAnsi(path).c_str(), access, share, nullptr, disposition, flags, nullptr);
}

BOOL deleteFileAt(const std::string& path) {
    if (!wideFunctions()) return DeleteFileA(toAnsi(path).c_str());
    CORVANE_WIDE(DeleteFile);
    return wideDeleteFile(toWide(path).c_str());
}

BOOL moveFileAt(const std::string& from, const std::string& to) {
    if (!wideFunctions()) return MoveFileA(toAnsi(from).c_str(), toAnsi(to).c_str());
    CORVANE_WIDE(MoveFile);
    return wideMoveFile(toWide(from).c_str(), toWide(to).c_str());
}

BOOL moveFileExAt(const std::string& from, const std::string& to, DWORD flags) {
    if (!wideFunctions()) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);  // the 9x family has no MoveFileEx
        return FALSE;
    }
    CORVANE_WIDE(MoveFileEx);
    return wideMoveFileEx(toWide(from).c_str(), toWide(to).c_str(), flags);
}

BOOL copyFileAt(const std::string& from, const std::string& to) {
    if (!wideFunctions()) return CopyFileA(toAnsi(from).c_str(), toAnsi(to).c_str(), FALSE);
    CORVANE_WIDE(CopyFile);
    return wideCopyFile(toWide(from).c_str(), toWide(to).c_str(), FALSE);
}

DWORD fileAttributesAt(const std::string& path) {
    if (!wideFunctions()) return GetFileAttributesA(toAnsi(path).c_str());
    CORVANE_WIDE(GetFileAttributes);
    return wideGetFileAttributes(toWide(path).c_str());
}

std::optional<DirectoryEntry> findEntry(const std::string& path) {
    DirectoryEntry entry;
    DWORD high = 0;
    DWORD low = 0;
    HANDLE find;
    if (wideFunctions()) {
        CORVANE_WIDE(FindFirstFile);
        WIN32_FIND_DATAW data;
        find = wideFindFirstFile(toWide(path).c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return std::nullopt;
        entry.attributes = data.dwFileAttributes;
        high = data.nFileSizeHigh;
        low = data.nFileSizeLow;
        entry.lastWrite = data.ftLastWriteTime;
    } else {
        WIN32_FIND_DATAA data;
        find = FindFirstFileA(toAnsi(path).c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return std::nullopt;
        entry.attributes = data.dwFileAttributes;
        high = data.nFileSizeHigh;
        low = data.nFileSizeLow;
        entry.lastWrite = data.ftLastWriteTime;
    }
    FindClose(find);
    entry.size = (static_cast<uint64_t>(high) << 32) | low;
    return entry;
}

std::string modulePath() {
    if (wideFunctions()) {
        CORVANE_WIDE(GetModuleFileName);
        std::wstring buffer(MAX_PATH, L'\0');
        for (;;) {
            DWORD n =
                wideGetModuleFileName(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
            if (n < buffer.size())
                return utf16ToUtf8(std::u16string(buffer.begin(), buffer.begin() + n));
            buffer.resize(buffer.size() * 2);
        }
    }
    std::string buffer(MAX_PATH, '\0');
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size()) return fromAnsi(buffer.substr(0, n));
        buffer.resize(buffer.size() * 2);
    }
}

HANDLE createMutexAt(const std::string& name) {
    if (!wideFunctions()) return CreateMutexA(nullptr, FALSE, toAnsi(name).c_str());
    CORVANE_WIDE(CreateMutex);
    return wideCreateMutex(nullptr, FALSE, toWide(name).c_str());
}

BOOL createProcessAt(const std::string& program, const std::string& commandLine, WORD show,
                     PROCESS_INFORMATION& process) {
    if (wideFunctions()) {
        CORVANE_WIDE(CreateProcess);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = show;
        std::wstring line = toWide(commandLine);
        return wideCreateProcess(toWide(program).c_str(), line.data(), nullptr, nullptr, FALSE, 0,
                                 nullptr, nullptr, &startup, &process);
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = show;
    std::string line = toAnsi(commandLine);
    return CreateProcessA(toAnsi(program).c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process);
}

}  // namespace corvane::win32
