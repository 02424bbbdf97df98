// A file's length and a part of it, so that the history reads the end of a long file without
// the rest.
#include <windows.h>

#include <algorithm>
#include <string>

#include "win32/file_calls.h"
#include "win32/files_win32.h"
#include "win32/win32_errors.h"
#include "win32/win32_text.h"

namespace corvane::win32 {

namespace {

// Open for reading, shared with the program's own appends.
HANDLE openForReading(const std::string& path) {
    HANDLE file =
        createFileAt(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) raiseLastError();
    return file;
}

uint64_t lengthOf(HANDLE file) {
    DWORD high = 0;
    DWORD low = GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        DWORD error = GetLastError();
        CloseHandle(file);
        raiseSystemError(error);
    }
    return (static_cast<uint64_t>(high) << 32) | low;
}

}  // namespace

uint64_t Win32Files::fileLength(const std::string& path) {
    HANDLE file = openForReading(path);
    uint64_t length = lengthOf(file);
    CloseHandle(file);
    return length;
}

std::string Win32Files::readPart(const std::string& path, uint64_t offset, uint32_t length) {
    HANDLE file = openForReading(path);
    LONG high = static_cast<LONG>(offset >> 32);
    DWORD error = 0;
    if (SetFilePointer(file, static_cast<LONG>(offset & 0xFFFFFFFFu), &high, FILE_BEGIN) ==
            INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR) {
        error = GetLastError();
    }
    std::string bytes;
    while (!error && bytes.size() < length) {
        char buffer[8192];
        DWORD want = static_cast<DWORD>(std::min<size_t>(sizeof buffer, length - bytes.size()));
        DWORD got = 0;
        // A read that fails half way is an error, not a shorter part.
        if (!ReadFile(file, buffer, want, &got, nullptr)) {
            error = GetLastError();
        } else if (got == 0) {
            break;
        } else {
            bytes.append(buffer, got);
        }
    }
    CloseHandle(file);
    if (error) raiseSystemError(error);
    return bytes;
}

}  // namespace corvane::win32
