// Files through kernel32, and the swap file's length as Windows reports it.
#include "win32/files_win32.h"

#include <windows.h>

#include <cwchar>

#include "platform/file_replace.h"
#include "win32/file_calls.h"
#include "win32/function_lookup.h"
#include "win32/page_files.h"
#include "win32/win32_errors.h"
#include "win32/win32_text.h"

namespace corvane::win32 {

namespace {

struct PageFileQuery {
    std::wstring path;
    bool found = false;
    uint64_t totalPages = 0;
    uint64_t inUsePages = 0;
};

BOOL WINAPI matchPageFile(LPVOID context, PageFileInformation* info, LPCWSTR fileName) {
    auto* query = static_cast<PageFileQuery*>(context);
    if (!info || !fileName) return TRUE;
    const wchar_t* name = fileName;
    if (std::wcsncmp(name, L"\\??\\", 4) == 0) name += 4;
    if (lstrcmpiW(name, query->path.c_str()) == 0) {
        query->found = true;
        query->totalPages = info->totalSize;
        query->inUsePages = info->totalInUse;
        return FALSE;
    }
    return TRUE;
}

uint32_t pageSize() {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return info.dwPageSize ? info.dwPageSize : 4096;
}

HANDLE openOrRaise(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
    HANDLE file = createFileAt(path, access, share, disposition);
    if (file == INVALID_HANDLE_VALUE) raiseLastError();
    return file;
}

// The renames of a replace where the system has no one-step one.
class Win32RenameSteps : public RenameSteps {
public:
    bool exists(const std::string& path) override {
        return fileAttributesAt(path) != INVALID_FILE_ATTRIBUTES;
    }
    void rename(const std::string& from, const std::string& to) override {
        if (!moveFileAt(from, to)) raiseLastError();
    }
    void remove(const std::string& path) override {
        if (!deleteFileAt(path)) raiseLastError();
    }
};

void writeAll(HANDLE file, const std::string& bytes) {
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    DWORD error = ok ? (written == bytes.size() ? 0 : ERROR_DISK_FULL) : GetLastError();
    CloseHandle(file);
    if (error) raiseSystemError(error);
}

// The time in the local time zone as it was at that moment, summer time included, as Explorer
// shows it. FileTimeToLocalFileTime would apply today's offset instead, an hour off for half of
// the year; the Windows 9x family only has that one (and no SystemTimeToTzSpecificLocalTime).
DateTime localTimeOf(const FILETIME& utc) {
    static const auto utcToLocal =
        CORVANE_PROCEDURE("kernel32.dll", SystemTimeToTzSpecificLocalTime);
    SYSTEMTIME universal;
    SYSTEMTIME st;
    if (!utcToLocal || !FileTimeToSystemTime(&utc, &universal) ||
        !utcToLocal(nullptr, &universal, &st)) {
        FILETIME local;
        FileTimeToLocalFileTime(&utc, &local);
        FileTimeToSystemTime(&local, &st);
    }
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

}  // namespace

SwapFileSize Win32Files::swapFileSize(const std::string& path) {
    SwapFileSize result;
    if (path.empty() || path.find_first_of("*?") != std::string::npos) {
        result.error = ERROR_INVALID_NAME;
        return result;
    }
    // A paging file in use is held open by Windows and its directory entry can be out of date:
    // where Windows lists it, its size is the one Windows gives.
    if (EnumPageFilesFn enumerate = enumPageFiles()) {
        PageFileQuery query;
        query.path = toWide(path);
        if (enumerate(matchPageFile, &query) && query.found) {
            uint64_t page = pageSize();
            result.known = true;
            result.bytes = query.totalPages * page;
            result.inUseBytes = query.inUsePages * page;
            return result;
        }
    }
    // The directory entry gives the 64-bit length without opening the file, which Windows
    // refuses for a paging file (sharing violation).
    std::optional<DirectoryEntry> entry = findEntry(path);
    if (!entry) {
        result.error = GetLastError();
        return result;
    }
    if (entry->attributes & FILE_ATTRIBUTE_DIRECTORY) {
        result.error = ERROR_FILE_NOT_FOUND;
        return result;
    }
    result.known = true;
    result.bytes = entry->size;
    return result;
}

std::string Win32Files::readFile(const std::string& path) {
    HANDLE file =
        openOrRaise(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    std::string bytes;
    char buffer[8192];
    DWORD got = 0;
    BOOL ok = TRUE;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0)
        bytes.append(buffer, got);
    // A read that fails half way is an error, not a shorter file.
    DWORD error = ok ? 0 : GetLastError();
    CloseHandle(file);
    if (error) raiseSystemError(error);
    return bytes;
}

void Win32Files::appendText(const std::string& path, const std::string& text) {
    HANDLE file = openOrRaise(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS);
    SetFilePointer(file, 0, nullptr, FILE_END);
    writeAll(file, toAnsi(text));
}

void Win32Files::writeFile(const std::string& path, const std::string& bytes) {
    writeAll(openOrRaise(path, GENERIC_WRITE, 0, CREATE_ALWAYS), bytes);
}

void Win32Files::flushFile(const std::string& path) {
    HANDLE file = openOrRaise(path, GENERIC_WRITE, 0, OPEN_EXISTING);
    BOOL flushed = FlushFileBuffers(file);
    DWORD flushError = flushed ? 0 : GetLastError();
    CloseHandle(file);
    if (!flushed) raiseSystemError(flushError);
}

void Win32Files::replaceFile(const std::string& source, const std::string& target) {
    // The new content reaches the disk before it takes the old one's place: otherwise a power
    // cut just after the replace can leave a file of zeros where the old one was.
    flushFile(source);

    if (moveFileExAt(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return;
    DWORD error = GetLastError();
    if (error != ERROR_CALL_NOT_IMPLEMENTED) raiseSystemError(error);
    Win32RenameSteps steps;
    replaceByRenames(steps, source, target);
}

bool Win32Files::isFolder(const std::string& path) {
    if (path.empty()) return false;
    DWORD attributes = fileAttributesAt(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void Win32Files::deleteFile(const std::string& path) {
    if (!deleteFileAt(path)) raiseLastError();
}

void Win32Files::renameFile(const std::string& from, const std::string& to) {
    if (!moveFileAt(from, to)) raiseLastError();
}

void Win32Files::copyFile(const std::string& from, const std::string& to) {
    if (!copyFileAt(from, to)) raiseLastError();
}

std::optional<DateTime> Win32Files::lastModified(const std::string& path) {
    std::optional<DirectoryEntry> entry = findEntry(path);
    if (!entry) return std::nullopt;
    return localTimeOf(entry->lastWrite);
}

}  // namespace corvane::win32
