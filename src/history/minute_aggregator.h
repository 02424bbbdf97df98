// Folds the samples of one minute into its record.
#pragma once

#include <cstdint>
#include <optional>

#include "history/minute_record.h"

namespace corvane {

struct HistorySample {
    int32_t minute = 0;  // UTC minute of the sample
    int32_t swapMo = 0;
    int32_t memoryMo = 0;
    int32_t inUseMo = kUnknownMo;  // kUnknownMo where Windows does not report it
};

class MinuteAggregator {
public:
    // Adds a sample. When it belongs to another minute than the samples before it (later, or
    // earlier after the clock was put back), returns the record of the minute it ends.
    std::optional<MinuteRecord> add(const HistorySample& sample);
    // Ends the minute in progress and returns its record, if it has a sample.
    std::optional<MinuteRecord> finish();
    bool empty() const { return !current_; }

private:
    std::optional<MinuteRecord> current_;
};

}  // namespace corvane
