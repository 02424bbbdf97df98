// The scan of the programs measured inside this process, through the program's own Win32 layer.
#include "bench_memory.h"

#include "win32/virtual_memory_win32.h"

namespace corvane::bench {

namespace {

constexpr int kScansPerRun = 50;

}  // namespace

ScanTimes measureScan(int runs) {
    win32::Win32VirtualMemory memory;
    std::vector<double> scans, refreshes;
    size_t processes = memory.processes().items.size();  // looks the functions up, unmeasured
    for (int run = 0; run < runs; ++run) {
        std::vector<double> scan, refresh;
        for (int i = 0; i < kScansPerRun; ++i) {
            double start = nowMs();
            processes = memory.processes().items.size();
            scan.push_back((nowMs() - start) * 1000);
            start = nowMs();
            memory.commitCharge();
            memory.pageFiles();
            memory.processes();
            refresh.push_back((nowMs() - start) * 1000);
        }
        scans.push_back(median(scan));
        refreshes.push_back(median(refresh));
    }
    return {median(scans), median(refreshes), processes};
}

}  // namespace corvane::bench
