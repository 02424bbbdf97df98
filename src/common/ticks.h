// GetTickCount's 32-bit milliseconds carried onto the 64-bit scale that never wraps, for the
// systems that have no GetTickCount64 (Windows 9x, NT 4, 2000, XP).
#pragma once

#include <cstdint>

namespace corvane {

class WideTicks {
public:
    // The 64-bit count for a 32-bit reading. The counter wraps every 49.7 days; a reading below
    // the previous one is taken as one wrap, so the widened count needs a reading at least
    // once in each 49.7 days (the sampling tick reads it at least every minute).
    uint64_t widen(uint32_t now) {
        if (now < last_) high_ += uint64_t{1} << 32;
        last_ = now;
        return high_ + now;
    }

private:
    uint32_t last_ = 0;
    uint64_t high_ = 0;
};

}  // namespace corvane
