// Whether two paths name the same file, by the volume and file index of an open handle, so
// that short names, "..", and network paths back to this machine are all seen through.
#include <windows.h>

#include <string>

#include "win32/file_calls.h"
#include "win32/files_win32.h"
#include "win32/win32_text.h"

namespace corvane::win32 {

namespace {

// No access is asked and every kind of sharing allowed: a file held open elsewhere answers too.
HANDLE openForIdentity(const std::string& path) {
    return wideFunctions()
               ? createFileAt(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS)
               : createFileAt(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0);
}

bool identityOf(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE file = openForIdentity(path);
    if (file == INVALID_HANDLE_VALUE) return false;
    BOOL ok = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    return ok != FALSE;
}

bool sameFullPath(const std::string& a, const std::string& b) {
    if (wideFunctions()) {
        wchar_t fullA[MAX_PATH * 2];
        wchar_t fullB[MAX_PATH * 2];
        DWORD lengthA = GetFullPathNameW(toWide(a).c_str(), MAX_PATH * 2, fullA, nullptr);
        DWORD lengthB = GetFullPathNameW(toWide(b).c_str(), MAX_PATH * 2, fullB, nullptr);
        if (!lengthA || !lengthB || lengthA >= MAX_PATH * 2 || lengthB >= MAX_PATH * 2) {
            return lstrcmpiW(toWide(a).c_str(), toWide(b).c_str()) == 0;
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
