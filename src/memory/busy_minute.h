// The minutes worth naming the programs of: those when the swap file grew, or when the commit
// passed nine tenths of its limit (where Windows grows a system-managed page file), and the
// programs such a minute names.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "memory/process_growth.h"

namespace corvane {

// What one minute saw of the swap file and the commit.
struct MinuteMemory {
    std::optional<int32_t> previousSwapMo;  // the last size of the minute before, if recorded
    int32_t firstSwapMo = 0;                // the minute's first sample
    int32_t largestSwapMo = 0;              // and its largest
    uint64_t commitBytes = 0;               // the largest commit of the minute
    uint64_t limitBytes = 0;                // the limit at that moment; 0 when unknown
};

// The swap file grew during the minute, or since the minute before.
bool swapGrew(const MinuteMemory& minute);
// The commit stands past 90 % of its limit.
bool commitNearLimit(uint64_t usedBytes, uint64_t limitBytes);
bool minuteQualifies(const MinuteMemory& minute);

// The three programs holding the most commit, largest first, with their figures.
inline constexpr size_t kProgramsOfAMinute = 3;
std::vector<ProgramFigures> programsOfTheMinute(const std::vector<ProgramFigures>& programs);

}  // namespace corvane
