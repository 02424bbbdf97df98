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
    int32_t inUseMo = kUnknownMo;        // kUnknownMo where Windows does not report it
    int32_t commitMo = kUnknownMo;       // the commit charge, where Windows reports it
    int32_t commitLimitMo = kUnknownMo;  // and its limit
};

class MinuteAggregator {
public:
    // Adds a sample. When it belongs to another minute than the samples before it (later, or
    // earlier after the clock was put back), returns the record of the minute it ends.
    std::optional<MinuteRecord> add(const HistorySample& sample);
    // Ends the minute in progress and returns its record, if it has a sample.
    std::optional<MinuteRecord> finish();
    bool empty() const { return !current_; }
    // The swap size at the first sample of the minute in progress (0 when there is none).
    int32_t firstMo() const { return firstMo_; }
    // Marks `minute` with an alert: the minute in progress, or the next one to begin if it is
    // that minute (an alert raised at a tick whose swap size could not be read).
    void markAlert(int32_t minute, AlertMark mark);

private:
    std::optional<MinuteRecord> current_;
    int32_t firstMo_ = 0;
    int32_t markedMinute_ = 0;  // a minute marked before any of its samples
    uint8_t markedAlerts_ = 0;
};

}  // namespace corvane
