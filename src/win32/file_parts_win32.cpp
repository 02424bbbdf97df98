// A file's length and a part of it, so that the history reads the end of a long file without
// the rest.
#include <windows.h>

#include <algorithm>
#include <string>

#include "win32/win32_errors.h"
#include "win32/win32_services.h"
#include "win32/win32_text.h"

namespace corvane::win32 {

namespace {

bool ntFamily() {
    return (GetVersion() & 0x80000000u) == 0;
}

std::wstring fromUtf8(const std::string& utf8) {
    if (utf8.empty()) return {};
    int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) {
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                            size);
    }
    return wide;
}

// Open for reading, shared with the program's own appends.
HANDLE openForReading(const std::string& path) {
    HANDLE file =
        ntFamily()
            ? CreateFileW(fromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
            : CreateFileA(toAnsi(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
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
