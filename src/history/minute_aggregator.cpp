// The minute in progress: smallest, largest and last swap size, and the last of the rest.
#include "history/minute_aggregator.h"

#include <algorithm>

namespace corvane {

std::optional<MinuteRecord> MinuteAggregator::add(const HistorySample& s) {
    std::optional<MinuteRecord> finished;
    if (current_ && current_->minute != s.minute) finished = finish();
    if (!current_) {
        current_ = MinuteRecord{s.minute, s.swapMo, s.swapMo, s.swapMo, s.memoryMo, s.inUseMo};
        return finished;
    }
    MinuteRecord& r = *current_;
    r.minMo = std::min(r.minMo, s.swapMo);
    r.maxMo = std::max(r.maxMo, s.swapMo);
    r.lastMo = s.swapMo;
    r.memoryMo = s.memoryMo;
    // A sample where Windows did not say what is in use keeps what an earlier one said.
    if (s.inUseMo != kUnknownMo) r.inUseMo = s.inUseMo;
    return finished;
}

std::optional<MinuteRecord> MinuteAggregator::finish() {
    std::optional<MinuteRecord> record = current_;
    current_.reset();
    return record;
}

}  // namespace corvane
