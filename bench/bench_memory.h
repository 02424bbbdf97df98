// The virtual memory's share of the work: one scan of the programs, as the program makes it
// once a minute, and one refresh of the open window's figures.
#pragma once

#include "bench_util.h"

namespace corvane::bench {

struct ScanTimes {
    double scanUs;     // the processes and each one's commit
    double refreshUs;  // the same, with the commit charge and the page files
    size_t processes;  // how many the scan read
};

ScanTimes measureScan(int runs);

}  // namespace corvane::bench
