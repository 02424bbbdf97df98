// The minute in progress: smallest, largest and last swap size, the largest commit, and the
// last of the rest.
#include "history/minute_aggregator.h"

#include <algorithm>

namespace corvane {

std::optional<MinuteRecord> MinuteAggregator::add(const HistorySample& s) {
    std::optional<MinuteRecord> finished;
    if (current_ && current_->minute != s.minute) finished = finish();
    if (!current_) {
        current_ = MinuteRecord{s.minute, s.swapMo, s.swapMo, s.swapMo, s.memoryMo, s.inUseMo};
        firstMo_ = s.swapMo;
        if (markedAlerts_ != 0 && markedMinute_ == s.minute) current_->alerts = markedAlerts_;
        markedAlerts_ = 0;
    } else {
        MinuteRecord& r = *current_;
        r.minMo = std::min(r.minMo, s.swapMo);
        r.maxMo = std::max(r.maxMo, s.swapMo);
        r.lastMo = s.swapMo;
        r.memoryMo = s.memoryMo;
        // A sample where Windows did not say what is in use keeps what an earlier one said.
        if (s.inUseMo != kUnknownMo) r.inUseMo = s.inUseMo;
    }
    // The minute keeps its largest commit with the limit of that moment: the limit moves as
    // the page files grow, and the pair says how near the commit came to it.
    MinuteRecord& r = *current_;
    if (s.commitMo != kUnknownMo && s.commitMo >= r.commitMo) {
        r.commitMo = s.commitMo;
        r.commitLimitMo = s.commitLimitMo;
    }
    return finished;
}

std::optional<MinuteRecord> MinuteAggregator::finish() {
    std::optional<MinuteRecord> record = std::move(current_);
    current_.reset();
    return record;
}

void MinuteAggregator::markAlert(int32_t minute, AlertMark mark) {
    if (current_ && current_->minute == minute) {
        current_->alerts |= mark;
        return;
    }
    if (markedAlerts_ == 0 || markedMinute_ != minute) markedAlerts_ = 0;
    markedMinute_ = minute;
    markedAlerts_ |= mark;
}

}  // namespace corvane
