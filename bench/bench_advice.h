// The page file's advice: its window opened and filled over a year of history, and one tick
// while it is open.
#pragma once

#include "bench_util.h"

namespace corvane::bench {

struct AdviceTimes {
    double firstOpenMs;    // the first opening, which reads the last 30 days and makes the window
    double openMs;         // each later opening: the window filled and shown
    double paintedMs;      // the same, until the message loop has painted it
    double tickMs;         // one sampling tick with the window open, its refresh included
    double openAndTickMs;  // an opening and the tick after it, run by run
};

AdviceTimes measureAdvice(int runs);

}  // namespace corvane::bench
