// Where the swap file is: the first paging file that the registry's paging configuration names.
#pragma once

#include <string>

#include "state/state.h"

namespace corvane {

inline constexpr const char* kMemoryManagementKey =
    "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";

// The path of the first entry of a "PagingFiles" value as the registry reader gives it: the
// text before the first NUL, up to its first blank. "Not Found" gives an empty path; an entry
// without a blank is the path as it stands.
std::string firstPagingPath(const std::string& pagingFiles);

// True for the "?:\pagefile.sys" entry that Windows writes when it manages the paging file on
// all drives itself.
bool isSystemManagedPath(const std::string& path);

// The first path of an "ExistingPageFiles" value, without its "\??\" prefix; empty if none.
std::string firstExistingPageFile(const std::string& existingPageFiles);

// A system-managed path made concrete: the first existing paging file if Windows lists one,
// else the same file name on the Windows drive.
std::string resolveSystemManagedPath(const std::string& path, const std::string& existingPageFiles,
                                     const std::string& windowsDirectory);

// Sets the swap file full path from the registry.
void RechercheSwap(Context& context);

}  // namespace corvane
