// When a minute names its programs.
#include "history/busy_minute.h"

namespace corvane {

bool swapGrew(const MinuteMemory& m) {
    int32_t before = m.previousSwapMo.value_or(m.firstSwapMo);
    return m.largestSwapMo > before || m.largestSwapMo > m.firstSwapMo;
}

bool commitNearLimit(uint64_t used, uint64_t limit) {
    if (limit == 0) return false;
    // In doubles: ten times a 64-bit figure would wrap.
    return static_cast<double>(used) * 10 > static_cast<double>(limit) * 9;
}

bool minuteQualifies(const MinuteMemory& m) {
    return swapGrew(m) || commitNearLimit(m.commit, m.limit);
}

}  // namespace corvane
