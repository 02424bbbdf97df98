// Windows's list of paging files (psapi's EnumPageFilesW), as the program looks it up.
#pragma once

#include <windows.h>

namespace corvane::win32 {

// psapi's page-file record; declared here with the system's calling convention (MinGW's
// header gives the callback the wrong one, which corrupts the stack on i686).
struct PageFileInformation {
    DWORD cb;
    DWORD reserved;
    SIZE_T totalSize;
    SIZE_T totalInUse;
    SIZE_T peakUsage;
};
using PageFileCallback = BOOL(WINAPI*)(LPVOID context, PageFileInformation* info, LPCWSTR fileName);
using EnumPageFilesFn = BOOL(WINAPI*)(PageFileCallback callback, LPVOID context);

// EnumPageFilesW from psapi.dll in the system directory (never a psapi.dll that happens to be
// in the current folder), else kernel32's own copy (Windows 7 and later); null on the systems
// that have neither. Looked up once.
EnumPageFilesFn enumPageFiles();

}  // namespace corvane::win32
