// One minute of the swap file's history: what the samples of that minute saw.
#pragma once

#include <cstdint>

namespace corvane {

// A value Windows did not report for that minute.
inline constexpr int32_t kUnknownMo = -1;

struct MinuteRecord {
    int32_t minute = 0;            // whole minutes since 1970-01-01 00:00 UTC
    int32_t minMo = 0;             // smallest swap size of the minute
    int32_t maxMo = 0;             // largest swap size of the minute
    int32_t lastMo = 0;            // swap size at the minute's last sample
    int32_t memoryMo = 0;          // physical memory in use at the last sample
    int32_t inUseMo = kUnknownMo;  // part of the swap file in use, last reported in the minute

    bool operator==(const MinuteRecord&) const = default;
};

}  // namespace corvane
