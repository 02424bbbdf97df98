// One sampling tick through the real Win32 platform layer, against the system calls it makes
// done by hand.
#pragma once

#include "bench_util.h"

namespace corvane::bench {

struct TickTimes {
    double realUs;  // the program's tick, median of the runs' medians
    double bareUs;  // the same system calls by hand
};

TickTimes measureTick(const Setup& setup, int runs);

}  // namespace corvane::bench
