// The analysis statistics of the swap file, kept from run to run.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace corvane {

// The running total of the samples, in Mo. It arrives from the settings store as text and
// stays that text, unread, until the first sample is added to it: a damaged stored total
// shows up at the first tick, not at load.
using RunningTotal = std::variant<double, std::string>;

// The analysis statistics, in whole Mo unless said otherwise.
struct Statistics {
    int32_t sampleCount = 0;
    int32_t current = 0;
    RunningTotal total = 0.0;
    int32_t average = 0;
    int32_t minimum = 32767;
    int32_t maximum = 0;
    // Tick count (ms) at which the analysis began, on the platform's tick scale.
    double startTick = 0;
    // The largest commit charge seen since the analysis began, in whole Mo; 0: none seen yet.
    int32_t maxCommitMo = 0;
};

}  // namespace corvane
