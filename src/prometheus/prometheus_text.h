// The figures Corvane gives Prometheus' exporters, as the text of a `.prom` file in the
// exposition format their textfile collectors read: base units, HELP and TYPE for each metric,
// `_total` counters, escaped label values, a line feed at the end.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/virtual_memory.h"

namespace corvane {

// The swap file's statistics since the analysis began, in bytes.
struct PrometheusSwap {
    std::string path;
    uint64_t currentBytes = 0;
    uint64_t minimumBytes = 0;
    uint64_t maximumBytes = 0;
    uint64_t averageBytes = 0;
};

struct PrometheusAlert {
    std::string name;  // "engagement", "swap", "memoire": the names of the history's marks
    bool raised = false;
    int64_t count = 0;  // raised since the program started
};

// A program by its name: its processes together. One series per name, never per process or
// place, so that a program that restarts or moves between places keeps its series.
struct PrometheusProgram {
    std::string name;
    uint64_t commitBytes = 0;
    // One of its processes was read through a 32-bit field: at 4 GiB and more its figure is not
    // the real one, which the file says beside it.
    bool commitCapped = false;
};

// What one export writes. A figure Windows does not give is absent, and its metric is left
// out of the file: a 0 would read as a real value to an alert rule.
struct PrometheusFigures {
    std::optional<PrometheusSwap> swap;
    int64_t samples = 0;
    int64_t elapsedSeconds = 0;
    std::optional<uint64_t> memoryUsedBytes;
    std::optional<uint64_t> memoryTotalBytes;
    std::optional<uint64_t> commitBytes;
    std::optional<uint64_t> commitLimitBytes;
    std::optional<uint64_t> commitPeakBytes;  // since the analysis began
    std::optional<std::vector<PageFileUse>> pageFiles;
    std::vector<PrometheusAlert> alerts;
    std::optional<std::vector<PrometheusProgram>> programs;  // the largest first, names unique
    // The page file's advice and the commit's forecast.
    std::optional<int64_t> commitTrendBytesPerSecond;  // below zero while the commit falls
    std::optional<int64_t> exhaustionSeconds;          // only while the commit rises
    std::optional<uint64_t> attainableLimitBytes;
    std::optional<uint64_t> advisedInitialBytes;
    std::optional<uint64_t> advisedMaximumBytes;
    std::vector<std::pair<std::string, uint64_t>> volumeFreeBytes;  // "C:" and its free bytes
};

// A label's value as the format quotes it: "\" as "\\", a quote as "\"", a line feed as "\n".
std::string prometheusLabelValue(const std::string& value);

// The whole file.
std::string prometheusText(const PrometheusFigures& figures);

}  // namespace corvane
