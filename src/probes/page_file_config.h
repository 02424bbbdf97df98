// What Windows says the page files should be: the crash-dump setting and each entry of
// PagingFiles with its file's size and its volume's room. Read only; nothing here writes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "memory/page_file_advice.h"
#include "platform/platform.h"

namespace corvane {

inline constexpr const char* kCrashControlKey = "SYSTEM\\CurrentControlSet\\Control\\CrashControl";

// The entries of a PagingFiles value as the registry reader gives it (strings ended by NULs):
// "C:\pagefile.sys 1024 4096" fixed, "C:\pagefile.sys 0 0", a path alone or "?:\pagefile.sys"
// system-managed (the last on the drive `systemManagedDrive` names, "C:"), an empty value no
// page file. "Not Found", or an entry that is none of these, leaves the configuration unknown.
PagingConfiguration parsePagingFiles(const std::string& pagingFiles,
                                     const std::string& systemManagedDrive);

// The crash-dump setting; `nowMinute` (minutes since 1970, UTC) dates LastCrashTime.
CrashDumpSetting readCrashDump(Platform& platform, std::optional<int32_t> nowMinute);

// PagingFiles parsed, each file's present size and its volume's room added.
PagingConfiguration readPagingConfiguration(Platform& platform,
                                            const std::string& windowsDirectory);

}  // namespace corvane
