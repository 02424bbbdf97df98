// Folding minutes into hours, and joining two lists of hours.
#include "history/hour_records.h"

#include <algorithm>

namespace corvane {

void addToSpan(MinuteRecord& span, const MinuteRecord& later) {
    span.minMo = std::min(span.minMo, later.minMo);
    span.maxMo = std::max(span.maxMo, later.maxMo);
    span.lastMo = later.lastMo;
    span.memoryMo = std::max(span.memoryMo, later.memoryMo);
    span.inUseMo = std::max(span.inUseMo, later.inUseMo);
    span.commitMo = std::max(span.commitMo, later.commitMo);
    span.commitLimitMo = std::max(span.commitLimitMo, later.commitLimitMo);
    span.alerts |= later.alerts;
    keepBusierPrograms(span.programs, later.programs);
}

void keepBusierPrograms(std::vector<ProgramMark>& kept, const std::vector<ProgramMark>& other) {
    // At most three names, and only at the few minutes worth naming them: the copy is rare.
    if (!other.empty() && (kept.empty() || other.front().commitMo > kept.front().commitMo)) {
        kept = other;
    }
}

std::vector<MinuteRecord> hoursOf(const std::vector<MinuteRecord>& minutes) {
    std::vector<MinuteRecord> hours;
    for (const MinuteRecord& r : minutes) {
        int32_t hour = hourOf(r.minute);
        if (hours.empty() || hours.back().minute != hour) {
            hours.push_back(r);
            hours.back().minute = hour;
            continue;
        }
        addToSpan(hours.back(), r);
    }
    return hours;
}

std::vector<MinuteRecord> mergeHours(const std::vector<MinuteRecord>& a,
                                     const std::vector<MinuteRecord>& b) {
    std::vector<MinuteRecord> merged;
    merged.reserve(a.size() + b.size());
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() || j < b.size()) {
        if (j == b.size() || (i < a.size() && a[i].minute < b[j].minute)) {
            merged.push_back(a[i++]);
        } else if (i == a.size() || b[j].minute < a[i].minute) {
            merged.push_back(b[j++]);
        } else {
            MinuteRecord hour = a[i++];
            addToSpan(hour, b[j++]);
            merged.push_back(hour);
        }
    }
    return merged;
}

}  // namespace corvane
