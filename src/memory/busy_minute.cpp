// When a minute names its programs, and which.
#include "memory/busy_minute.h"

namespace corvane {

bool swapGrew(const MinuteMemory& m) {
    int32_t before = m.previousSwapMo.value_or(m.firstSwapMo);
    return m.largestSwapMo > before || m.largestSwapMo > m.firstSwapMo;
}

bool commitNearLimit(uint64_t usedBytes, uint64_t limitBytes) {
    if (limitBytes == 0) return false;
    // In doubles: ten times a 64-bit figure would wrap.
    return static_cast<double>(usedBytes) * 10 > static_cast<double>(limitBytes) * 9;
}

bool minuteQualifies(const MinuteMemory& m) {
    return swapGrew(m) || commitNearLimit(m.commitBytes, m.limitBytes);
}

std::vector<ProgramFigures> programsOfTheMinute(const std::vector<ProgramFigures>& programs) {
    return topPrograms(programs, ProcessOrder::Commit, kProgramsOfAMinute);
}

}  // namespace corvane
