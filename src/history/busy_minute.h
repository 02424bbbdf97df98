// The minutes worth naming the programs of: those when the swap file grew, or when the commit
// passed nine tenths of its limit (where Windows grows a system-managed page file).
#pragma once

#include <cstdint>
#include <optional>

namespace corvane {

// What one minute saw of the swap file and the commit.
struct MinuteMemory {
    std::optional<int32_t> previousSwapMo;  // the last size of the minute before, if recorded
    int32_t firstSwapMo = 0;                // the minute's first sample
    int32_t largestSwapMo = 0;              // and its largest
    uint64_t commit = 0;                    // the largest commit of the minute
    uint64_t limit = 0;  // the limit at that moment, in the same unit; 0: unknown
};

// The swap file grew during the minute, or since the minute before.
bool swapGrew(const MinuteMemory& minute);
// The commit stands past 90 % of its limit (both in the same unit).
bool commitNearLimit(uint64_t used, uint64_t limit);
bool minuteQualifies(const MinuteMemory& minute);

}  // namespace corvane
