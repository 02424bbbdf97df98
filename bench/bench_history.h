// The history's share of the work: recording one sample, and drawing 30 days of minutes.
#pragma once

#include "bench_util.h"

namespace corvane::bench {

struct HistoryTimes {
    double recordUs;  // one sample recorded, a minute written to the file every 60 samples
    double drawMs;    // 30 days, 43 200 records, drawn into a memory DC of the window's size
};

HistoryTimes measureHistory(const Setup& setup, int runs);

}  // namespace corvane::bench
