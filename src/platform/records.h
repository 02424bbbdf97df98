// Plain records exchanged with the platform layer: what Windows reports, in portable types.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

// The ANSI version record, field for field. `size` says which form the caller asks for:
// 156 bytes (extended, with service pack numbers and product type) or 148 (basic).
struct OsVersionRecord {
    static constexpr uint32_t kExtendedSize = 156;
    static constexpr uint32_t kBasicSize = 148;

    uint32_t size = 0;
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;
    uint32_t platformId = 0;
    std::array<char, 128> csdVersion{};  // bytes in the ANSI code page, NUL-terminated if it fits
    uint16_t servicePackMajor = 0;
    uint16_t servicePackMinor = 0;
    uint16_t suiteMask = 0;
    uint8_t productType = 0;
    uint8_t reserved = 0;
};

struct SystemInfo {
    uint32_t numberOfProcessors = 0;
    uint32_t processorType = 0;
};

// Memory figures in bytes, 64-bit so that machines with more than 4 GiB read right.
struct MemoryStatus {
    uint32_t memoryLoad = 0;
    uint64_t totalPhys = 0;
    uint64_t availPhys = 0;
    uint64_t totalPageFile = 0;
    uint64_t availPageFile = 0;
    uint64_t totalVirtual = 0;
    uint64_t availVirtual = 0;
    // The two page-file figures are the commit limit and what is left of it (Windows 2000 and
    // later), so that their difference is the commit charge in use.
    bool commitKnown = false;
};

// The length of the sampled swap file. `known` is false when it cannot be read; `error` then
// holds the system's error code. `inUseBytes` is set where Windows reports the part in use.
struct SwapFileSize {
    bool known = false;
    uint64_t bytes = 0;
    std::optional<uint64_t> inUseBytes;
    uint32_t error = 0;
};

enum class RootKey : uint32_t {
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
    Users = 0x80000003u,
};

enum RegistryType : uint32_t {
    kRegNone = 0,
    kRegSz = 1,
    kRegExpandSz = 2,
    kRegBinary = 3,
    kRegDword = 4,
    kRegDwordBigEndian = 5,
    kRegLink = 6,
    kRegMultiSz = 7,
};

// What one query of a registry value gave, before any conversion: the open and query result
// codes (0 is success), the value's type, the data size the query reported and the buffer as
// the query left it.
struct RegistryAnswer {
    int32_t openResult = 0;
    int32_t queryResult = 0;
    uint32_t type = 0;
    uint32_t dataSize = 0;
    std::vector<uint8_t> buffer;
};

// A local or UTC date and time, to the second.
struct DateTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

}  // namespace corvane
