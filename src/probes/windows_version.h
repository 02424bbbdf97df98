// Which Windows this is: the version text shown in the header and the swap file's name.
#pragma once

#include <cstdint>
#include <string>

#include "state/state.h"

namespace corvane {

inline constexpr const char* kSwapFile9x = "win386.swp";
inline constexpr const char* kSwapFileNt = "PAGEFILE.SYS";

struct VersionDescription {
    // In the ANSI code page: the service-pack text is copied as Windows gives it.
    std::string text;
    // Empty when the platform names no swap file (the name then stays as it was).
    std::string swapFileName;
};

// The record's build number modulo 65536, the remainder taking the sign of the build number
// read as a signed 32-bit value (for every real build: its low 16 bits).
int32_t buildNumberOf(uint32_t dwBuildNumber);

// The version text and swap file name for a version record, e.g.
// "WINDOWS XP (5.1.2600 Service Pack 3) WS ???" and "PAGEFILE.SYS".
VersionDescription describeVersion(const OsVersionRecord& record);

// Asks Windows for its version; sets the version record, build number, version text and swap
// file name, and logs the product type.
void Plateforme(Context& context);

}  // namespace corvane
