// The file functions of kernel32 for a UTF-8 path: the wide-character ones on the NT family,
// which take any path (a user folder such as C:\Users\Дмитрий), and the ANSI ones on the 9x
// family, which only has those.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace corvane::win32 {

// True on the NT family.
bool wideFunctions();

HANDLE createFileAt(const std::string& path, DWORD access, DWORD share, DWORD disposition,
                    DWORD flags = FILE_ATTRIBUTE_NORMAL);
BOOL deleteFileAt(const std::string& path);
BOOL moveFileAt(const std::string& from, const std::string& to);
BOOL moveFileExAt(const std::string& from, const std::string& to, DWORD flags);
BOOL copyFileAt(const std::string& from, const std::string& to);
// INVALID_FILE_ATTRIBUTES when there is nothing at `path`.
DWORD fileAttributesAt(const std::string& path);

// The directory entry of a file, as FindFirstFile gives it.
struct DirectoryEntry {
    DWORD attributes = 0;
    uint64_t size = 0;
    FILETIME lastWrite{};
};
// The entry, or nothing (GetLastError says why).
std::optional<DirectoryEntry> findEntry(const std::string& path);

// A named mutex (ERROR_ALREADY_EXISTS in GetLastError when it was there).
HANDLE createMutexAt(const std::string& name);

// Starts `program` (a full path) with `commandLine`, which begins with the program's name.
BOOL createProcessAt(const std::string& program, const std::string& commandLine, WORD show,
                     PROCESS_INFORMATION& process);

// The program file's full path, as UTF-8.
std::string modulePath();

}  // namespace corvane::win32
