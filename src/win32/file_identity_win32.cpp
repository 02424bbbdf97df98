// Whether two paths name the same file, by the volume and file index of an open handle, so
// that short names, "..", and network paths back to this machine are all seen through.
#include <windows.h>

#include <string>

#include "win32/win32_services.h"
#include "win32/win32_text.h"

namespace corvane::win32 {

namespace {

bool ntFamily() {
    return (GetVersion() & 0x80000000u) == 0;
}

// The path as MultiByteToWideChar reads UTF-8; Windows 9x has no UTF-8 code page.
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

// No access is asked and every kind of sharing allowed: a file held open elsewhere answers too.
HANDLE openForIdentity(const std::string& path) {
    if (ntFamily()) {
        return CreateFileW(fromUtf8(path).c_str(), 0,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    }
    return CreateFileA(toAnsi(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
}

bool identityOf(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE file = openForIdentity(path);
    if (file == INVALID_HANDLE_VALUE) return false;
    BOOL ok = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    return ok != FALSE;
}

bool sameFullPath(const std::string& a, const std::string& b) {
    if (ntFamily()) {
        wchar_t fullA[MAX_PATH * 2];
        wchar_t fullB[MAX_PATH * 2];
        DWORD lengthA = GetFullPathNameW(fromUtf8(a).c_str(), MAX_PATH * 2, fullA, nullptr);
        DWORD lengthB = GetFullPathNameW(fromUtf8(b).c_str(), MAX_PATH * 2, fullB, nullptr);
        if (!lengthA || !lengthB || lengthA >= MAX_PATH * 2 || lengthB >= MAX_PATH * 2) {
            return lstrcmpiW(fromUtf8(a).c_str(), fromUtf8(b).c_str()) == 0;
        }
        return lstrcmpiW(fullA, fullB) == 0;
    }
    char fullA[MAX_PATH];
    char fullB[MAX_PATH];
    DWORD lengthA = GetFullPathNameA(toAnsi(a).c_str(), MAX_PATH, fullA, nullptr);
    DWORD lengthB = GetFullPathNameA(toAnsi(b).c_str(), MAX_PATH, fullB, nullptr);
    if (!lengthA || !lengthB || lengthA >= MAX_PATH || lengthB >= MAX_PATH) {
        return lstrcmpiA(toAnsi(a).c_str(), toAnsi(b).c_str()) == 0;
    }
    return lstrcmpiA(fullA, fullB) == 0;
}

}  // namespace

bool Win32Files::sameFile(const std::string& a, const std::string& b) {
    BY_HANDLE_FILE_INFORMATION infoA;
    BY_HANDLE_FILE_INFORMATION infoB;
    if (identityOf(a, infoA) && identityOf(b, infoB)) {
        return infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
               infoA.nFileIndexHigh == infoB.nFileIndexHigh &&
               infoA.nFileIndexLow == infoB.nFileIndexLow;
    }
    // A file that is not there yet has no identity: its full path decides.
    return sameFullPath(a, b);
}

}  // namespace corvane::win32
