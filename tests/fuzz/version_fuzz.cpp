// The Windows version text from any version record: whatever the numbers and however the
// service-pack field ends, a text in the expected frame and a swap file name it knows.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "probes/windows_version.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvane;
    OsVersionRecord record;
    uint8_t raw[4 * 4 + 128 + 2 * 3 + 2] = {};
    std::memcpy(raw, data, size < sizeof raw ? size : sizeof raw);
    const uint8_t* at = raw;
    auto take = [&](void* field, size_t n) {
        std::memcpy(field, at, n);
        at += n;
    };
    take(&record.major, 4);
    take(&record.minor, 4);
    take(&record.build, 4);
    take(&record.platformId, 4);
    // Small platform numbers are the known families: keep them likely.
    if (record.platformId & 0x100) record.platformId &= 3;
    take(record.csdVersion.data(), record.csdVersion.size());
    take(&record.servicePackMajor, 2);
    take(&record.servicePackMinor, 2);
    take(&record.suiteMask, 2);
    take(&record.productType, 1);
    take(&record.reserved, 1);

    VersionDescription d = describeVersion(record);
    if (d.text.compare(0, 8, "WINDOWS ") != 0) __builtin_trap();
    if (d.text.size() < 4 || d.text.compare(d.text.size() - 4, 4, " ???") != 0) __builtin_trap();
    // The service-pack text is copied up to its NUL only: no NUL ever reaches the window.
    if (d.text.find('\0') != std::string::npos) __builtin_trap();
    if (d.text.size() > 8 + 32 + 3 * 11 + 128 + 16) __builtin_trap();
    if (!d.swapFileName.empty() && d.swapFileName != kSwapFile9x && d.swapFileName != kSwapFileNt)
        __builtin_trap();
    int32_t build = buildNumberOf(record.build);
    if (build <= -65536 || build >= 65536) __builtin_trap();
    return 0;
}
