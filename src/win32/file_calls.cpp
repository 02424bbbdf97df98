// One function a file operation, choosing between the wide and the ANSI kernel32 function.
#include "win32/file_calls.h"

#include "common/text.h"
#include "win32/win32_text.h"

namespace corvane::win32 {

bool wideFunctions() {
    // The high bit of GetVersion is set on the 9x family only.
    static const bool nt = (GetVersion() & 0x80000000u) == 0;
    return nt;
}

HANDLE createFileAt(const std::string& path, DWORD access, DWORD share, DWORD disposition,
                    DWORD flags) {
    if (wideFunctions()) {
        return CreateFileW(toWide(path).c_str(), access, share, nullptr, disposition, flags,
                           nullptr);
    }
    return CreateFileA(toAnsi(path).c_str(), access, share, nullptr, disposition, flags, nullptr);
}

BOOL deleteFileAt(const std::string& path) {
    return wideFunctions() ? DeleteFileW(toWide(path).c_str()) : DeleteFileA(toAnsi(path).c_str());
}

BOOL moveFileAt(const std::string& from, const std::string& to) {
    return wideFunctions() ? MoveFileW(toWide(from).c_str(), toWide(to).c_str())
                           : MoveFileA(toAnsi(from).c_str(), toAnsi(to).c_str());
}

BOOL moveFileExAt(const std::string& from, const std::string& to, DWORD flags) {
    if (!wideFunctions()) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);  // the 9x family has no MoveFileEx
        return FALSE;
    }
    return MoveFileExW(toWide(from).c_str(), toWide(to).c_str(), flags);
}

BOOL copyFileAt(const std::string& from, const std::string& to) {
    return wideFunctions() ? CopyFileW(toWide(from).c_str(), toWide(to).c_str(), FALSE)
                           : CopyFileA(toAnsi(from).c_str(), toAnsi(to).c_str(), FALSE);
}

DWORD fileAttributesAt(const std::string& path) {
    return wideFunctions() ? GetFileAttributesW(toWide(path).c_str())
                           : GetFileAttributesA(toAnsi(path).c_str());
}

std::optional<DirectoryEntry> findEntry(const std::string& path) {
    DirectoryEntry entry;
    DWORD high = 0;
    DWORD low = 0;
    HANDLE find;
    if (wideFunctions()) {
        WIN32_FIND_DATAW data;
        find = FindFirstFileW(toWide(path).c_str(), &data);
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
        std::wstring buffer(MAX_PATH, L'\0');
        for (;;) {
            DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
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

}  // namespace corvane::win32
